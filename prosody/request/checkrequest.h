// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/ciformref.h"
#include "prosody/core/books.h"
#include "prosody/shi/forms.h"

#include <optional>
#include <variant>

namespace prosody {

// 自动: each poem of the text as its title and its lines show it, 诗 or 词 (prosody/check.h).
struct AutoForm {
    bool operator==(const AutoForm &) const = default;
};
// 对联: the text as 上联 and 下联.
struct DuilianForm {
    bool operator==(const DuilianForm &) const = default;
};

// The form a check is asked for: 自动, a form of regulated verse (Form::Auto there: 诗 of whichever
// form the lines make), a form of a 词牌, or 对联.
using FormRequest = std::variant<AutoForm, FormChoice, CiFormRef, DuilianForm>;

// What the form selector or shihai-gelv --form asks the check for. Typed where a person named it
// (prosody/request/parserequest.h) and never read back from text. Without a book each kind is judged
// in its own: 诗 and 对联 in 平水韵, 词 in 词林正韵.
struct CheckRequest {
    FormRequest form;
    std::optional<Book> book;

    bool operator==(const CheckRequest &) const = default;
};

} // namespace prosody
