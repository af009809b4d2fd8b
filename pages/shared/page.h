// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One of the main window's five pages, as the window sees it: told when the user turns to it. Each
// page answers with its own on-show handler (EditShow, ViewShow, ...).
class Page {
public:
    virtual ~Page() = default;
    virtual void shown() = 0;

protected:
    Page() = default;
    Page(const Page &) = delete;
    Page &operator=(const Page &) = delete;
};
