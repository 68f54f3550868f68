#include "catalogue/notice_switch.h"

namespace quarvell::catalogue {

void optNotice_Click(NoticeSwitchView& v, int index) {
    model::CalcState& s = v.state;
    if (s.SuspendRecalc) {
        // The buttons keep showing the Notice the calculation uses.
        if (s.in.Notice == kNotice1) {
            v.optNotice1.choose();
        } else if (s.in.Notice == kNotice2) {
            v.optNotice2.choose();
        }
        return;
    }
    // Refilling the list for the Notice in use would find no counterpart and leave no type.
    if (index == s.in.Notice) {
        return;
    }
    const model::CapacitorType* from = model::FindType(s.in.TypeCode);
    s.in.Notice = static_cast<std::int16_t>(index);
    if (index == kNotice2) {
        SetTypeNotice2(v.typeList);
    } else {
        SetTypeNotice1(v.typeList);
    }
    if (from != nullptr && static_cast<int>(from->notice) != index) {
        if (const model::SwitchMessage* m = from->switchMessage) {
            v.showMessage(std::string(m->title), std::string(m->text), m->seconds);
        }
        v.typeList.cmbType.select(model::PositionOf(model::CounterpartOf(*from)));
    }
    s.in.TypeCode = FirstWord(v.typeList.cmbType.text());
    v.recalculate();
}

}  // namespace quarvell::catalogue
