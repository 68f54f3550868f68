#pragma once
// Switching between Notice 1 and Notice 2: the type list is refilled with the new Notice's
// catalogue and the type in use carries over to its counterpart, with a timed message where the
// two Notices treat the type differently.

#include <functional>

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

}  // namespace quarvell::catalogue
