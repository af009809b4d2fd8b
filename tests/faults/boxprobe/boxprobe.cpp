// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt generic plugin that the fault tests load into the real program through Qt's own
// QT_QPA_GENERIC_PLUGINS, so the program itself needs no test hook: every message box the program
// shows is reported on stderr as one JSON line and answered with its default button (with its
// escape button when SHIHAI_PROBE_ANSWER is "no"; then {"answered": BUTTON}), and with the option "close" the
// main window is closed as soon as it is shown. SHIHAI_PROBE_TYPE names a JSON file of steps typed into the
// window once it is shown, one character per turn of the event loop: {"page": N} shows a page,
// {"control": NAME, "text": TEXT} selects all of that control's text and types over it. Each
// character typed is reported as {"typed": NAME, "count": N}, the end as {"typedAll": true}.
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

void report(const QJsonObject &line)
{
    std::fprintf(stderr, "%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    std::fflush(stderr);
}

class BoxProbe : public QObject {
public:
    explicit BoxProbe(bool closeWindow)
        : m_closeWindow(closeWindow)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto *box = qobject_cast<QMessageBox *>(watched))
            answer(box);
        else if (auto *window = qobject_cast<QMainWindow *>(watched); window && m_closeWindow && !m_closing)
            close(window);
        else if (window && !m_typing && qEnvironmentVariableIsSet("SHIHAI_PROBE_TYPE"))
            type(window);
        return false;
    }

private:
    // Answered once its modal loop runs.
    void answer(QMessageBox *box)
    {
        report({{QStringLiteral("box"), box->text()},
                {QStringLiteral("title"), box->windowTitle()},
                {QStringLiteral("icon"), int(box->icon())}});
        QPointer<QMessageBox> guard(box);
        const bool no = qgetenv("SHIHAI_PROBE_ANSWER") == "no";
        QMetaObject::invokeMethod(
            box,
            [guard, no] {
                if (!guard)
                    return;
                QAbstractButton *button = no ? guard->escapeButton() : guard->defaultButton();
                if (!button)
                    button = guard->escapeButton();
                const QString answer = button ? button->text() : QString();
                if (button)
                    button->click();
                else
                    guard->done(0);
                report({{QStringLiteral("answered"), answer}});
            },
            Qt::QueuedConnection);
    }

    // Closed once the event loop runs and no message box is open; a close the window refuses ends
    // the program with status 3.
    void close(QMainWindow *window)
    {
        m_closing = true;
        QMetaObject::invokeMethod(
            window, [this, guard = QPointer<QMainWindow>(window)] { closeLater(guard); },
            Qt::QueuedConnection);
    }
    void closeLater(QPointer<QMainWindow> window)
    {
        if (!window)
            return;
        if (QApplication::activeModalWidget()) {
            QMetaObject::invokeMethod(
                window, [this, window] { closeLater(window); }, Qt::QueuedConnection);
            return;
        }
        const bool closed = window->close();
        report({{QStringLiteral("close"), closed}});
        if (!closed)
            QCoreApplication::exit(3);
    }

    // Starts once no message box is open; each step after the previous one has been handled.
    void type(QMainWindow *window)
    {
        QFile script(qEnvironmentVariable("SHIHAI_PROBE_TYPE"));
        if (!script.open(QIODevice::ReadOnly))
            qFatal("box probe: cannot read the typing script");
        m_steps = QJsonDocument::fromJson(script.readAll()).array();
        m_typing = true;
        m_window = window;
        connect(&m_pace, &QTimer::timeout, this, &BoxProbe::typeNext);
        m_pace.start(qEnvironmentVariableIntValue("SHIHAI_PROBE_PACE"));
    }
    void typeNext()
    {
        if (!m_window || QApplication::activeModalWidget())
            return;
        if (m_step >= m_steps.size()) {
            m_pace.stop();
            report({{QStringLiteral("typedAll"), true}});
            return;
        }
        const QJsonObject step = m_steps[m_step].toObject();
        if (step.contains(QStringLiteral("page"))) {
            m_window->findChild<QTabWidget *>(QStringLiteral("W_PageControl"))
                ->setCurrentIndex(step.value(QStringLiteral("page")).toInt());
            ++m_step;
            return;
        }
        const QString name = step.value(QStringLiteral("control")).toString();
        QWidget *control = m_window->findChild<QWidget *>(name);
        if (!control)
            qFatal("box probe: no control %s", qPrintable(name));
        const QString text = step.value(QStringLiteral("text")).toString();
        if (text.isEmpty()) {
            ++m_step;
            return;
        }
        if (m_typed == 0) {
            control->setFocus();
            key(control, Qt::Key_A, Qt::ControlModifier, QString());
        }
        // A character beyond the Basic Multilingual Plane is one key of two UTF-16 units.
        const qsizetype length = text[m_typed].isHighSurrogate() ? 2 : 1;
        key(control, Qt::Key_unknown, Qt::NoModifier, text.mid(m_typed, length));
        m_typed += length;
        report({{QStringLiteral("typed"), name}, {QStringLiteral("count"), int(m_typed)}});
        if (m_typed >= text.size()) {
            m_typed = 0;
            ++m_step;
        }
    }
    static void key(QWidget *control, int code, Qt::KeyboardModifiers modifiers, const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
        QApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
        QApplication::sendEvent(control, &release);
    }

    bool m_closeWindow;
    bool m_closing = false;
    bool m_typing = false;
    QPointer<QMainWindow> m_window;
    QJsonArray m_steps;
    qsizetype m_step = 0;
    qsizetype m_typed = 0; // characters of the current step's text
    QTimer m_pace;
};

} // namespace

class BoxProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "boxprobe.json")
public:
    QObject *create(const QString &key, const QString &option) override
    {
        if (key.compare(QStringLiteral("shihaiboxprobe"), Qt::CaseInsensitive) != 0)
            return nullptr;
        return new BoxProbe(option == QStringLiteral("close"));
    }
};

#include "boxprobe.moc"
