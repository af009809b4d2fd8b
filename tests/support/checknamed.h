// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/check.h"
#include "prosody/request/parserequest.h"

#include <QList>
#include <QString>

#include <optional>

// A text checked as a form named as the poet names it ("自动", "七律", "念奴娇:2"), read by the parser the
// form selector and shihai-gelv use; nullopt for a name of no form.
inline std::optional<QList<prosody::PoemCheck>>
checkNamed(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &text, const QString &form,
           std::optional<prosody::Book> book = std::nullopt, const prosody::PairSource *pairs = nullptr)
{
    std::optional<prosody::CheckRequest> request = prosody::parseRequest(books->cipu(), form).request;
    if (!request)
        return std::nullopt;
    request->book = book;
    return prosody::checkAs(books, text, *request, pairs);
}
