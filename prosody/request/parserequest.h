// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/cipu.h"
#include "prosody/request/checkrequest.h"

#include <QString>

#include <optional>

namespace prosody {

// The request, or the message (in Chinese, naming what was typed) for a name the check knows nothing of.
struct ParsedRequest {
    std::optional<CheckRequest> request;
    QString error;
};

// A form as a person names it, in the form selector or shihai-gelv --form: 自动 (or nothing); 五绝 …
// 排律 (formFromName); 对联; a 词牌 of the 词谱 by its name, an alias ("大江东去" is 念奴娇) or a title
// that begins with it, with ":N" or "：N" for its form N (1 正体, 2 … 又一体), an error when it has no
// form N. The request comes without a book: the caller adds the one chosen.
ParsedRequest parseRequest(const Cipu &cipu, const QString &text);

} // namespace prosody
