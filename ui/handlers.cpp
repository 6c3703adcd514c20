#include "ui/handlers.h"

#include <algorithm>
#include <array>

namespace kiravel {

namespace {

const std::array kClicks{
    ClickBinding{"ComStt", [](Fom& f, std::int16_t i) { f.ComStt_Click(i); }},
    ClickBinding{"Com", [](Fom& f, std::int16_t i) { f.Com_Click(i); }},
    ClickBinding{"ComSkep", [](Fom& f, std::int16_t) { f.ComSkep_Click(); }},
    ClickBinding{"ComHp", [](Fom& f, std::int16_t) { f.ComHp_Click(); }},
    ClickBinding{"ComIrai", [](Fom& f, std::int16_t) { f.ComIrai_Click(); }},
    ClickBinding{"ComBtl", [](Fom& f, std::int16_t) { f.ComBtl_Click(); }},
    ClickBinding{"MenuCom", [](Fom& f, std::int16_t) { f.MenuCom_Click(); }},
    ClickBinding{"Lbl", [](Fom& f, std::int16_t) { f.Lbl_Click(); }},
    ClickBinding{"LblGame", [](Fom& f, std::int16_t) { f.LblGame_Click(); }},
    ClickBinding{"Pic", [](Fom& f, std::int16_t) { f.Pic_Click(); }},
};

const std::array kMenuItems{
    MenuBinding{"menu_tim_Click", [](Fom& f, std::int16_t i) { f.menu_tim_Click_Click(i); }},
    MenuBinding{"menu_sis_c", [](Fom& f, std::int16_t i) { f.menu_sis_c_Click(i); }},
    MenuBinding{"menu_ver", [](Fom& f, std::int16_t) { f.menu_ver_Click(); }},
};

const std::array kTimers{
    TimerBinding{"TimBtl", &Fom::TimBtl, &Fom::TimBtl_Timer},
    TimerBinding{"TimSay", &Fom::TimSay, &Fom::TimSay_Timer},
    TimerBinding{"TimDay", &Fom::TimDay, &Fom::TimDay_Timer},
    TimerBinding{"BgmTim", &Fom::BgmTim, &Fom::BgmTim_Timer, true},
};

template <class Table>
auto FindIn(const Table& table, std::string_view name, std::string_view Table::value_type::*key)
    -> const typename Table::value_type* {
  auto found = std::find_if(table.begin(), table.end(),
                            [&](const auto& binding) { return binding.*key == name; });
  return found == table.end() ? nullptr : &*found;
}

}  // namespace

const ClickBinding* FindClick(std::string_view control) {
  return FindIn(kClicks, control, &ClickBinding::control);
}

const MenuBinding* FindMenuItem(std::string_view item) {
  return FindIn(kMenuItems, item, &MenuBinding::item);
}

const TimerBinding* FindTimer(std::string_view name) {
  return FindIn(kTimers, name, &TimerBinding::name);
}

std::span<const TimerBinding> Timers() { return kTimers; }

bool CoveredByStartPanel(const Fom& fom, const Control& control) {
  return fom.PicStt.Shown() && !control.LiesIn(fom.PicStt);
}

}  // namespace kiravel
