#pragma once
// Switching between Notice 1 and Notice 2: the type list is refilled with the new Notice's
// catalogue and the type in use carries over to its counterpart, with a timed message where the
// two Notices treat the type differently.

#include <functional>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/type_options.h"
#include "model/calc_state.h"
#include "platform/controls.h"

namespace quarvell::catalogue {

struct NoticeSwitchView {
    model::CalcState& state;
    TypeListView& typeList;
    platform::OptionButton& optNotice1;
    platform::OptionButton& optNotice2;
    std::function<void()> recalculate;
    ShowMessageFn showMessage;
};

// index: 1 or 2, the button chosen.
void optNotice_Click(NoticeSwitchView& v, int index);

// Whole-text, case-sensitive wildcard match: '*' any run, '?' one character, "[abc]" and
// "[a-z]" one character of a set.
bool Like(std::string_view text, std::string_view pattern);

}  // namespace quarvell::catalogue
