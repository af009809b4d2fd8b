#include "app/W_Unit.h"

#include "pages/about/aboutpage.h"
#include "pages/about/picture.h"
#include "pages/shared/guard.h"

// Only seven of the eleven pictures open a page; the other four take no clicks.
void TW::wireAboutPage()
{
    connect(m_about->Image1, &Picture::clicked, this, &TW::Image1Click);
    connect(m_about->Image9, &Picture::clicked, this, &TW::Image9Click);
    connect(m_about->Image2, &Picture::clicked, this, &TW::Image2Click);
    connect(m_about->Image3, &Picture::clicked, this, &TW::Image3Click);
    connect(m_about->Image4, &Picture::clicked, this, &TW::Image4Click);
    connect(m_about->Image6, &Picture::clicked, this, &TW::Image6Click);
    connect(m_about->Image7, &Picture::clicked, this, &TW::Image7Click);
}

void TW::AboutShow()
{
    guarded(this, [&] { m_about->AboutShow(); });
}

void TW::Image1Click()
{
    guarded(this, [&] { m_about->Image1Click(); });
}

void TW::Image9Click()
{
    guarded(this, [&] { m_about->Image9Click(); });
}

void TW::Image2Click()
{
    guarded(this, [&] { m_about->Image2Click(); });
}

void TW::Image3Click()
{
    guarded(this, [&] { m_about->Image3Click(); });
}

void TW::Image4Click()
{
    guarded(this, [&] { m_about->Image4Click(); });
}

void TW::Image6Click()
{
    guarded(this, [&] { m_about->Image6Click(); });
}

void TW::Image7Click()
{
    guarded(this, [&] { m_about->Image7Click(); });
}
