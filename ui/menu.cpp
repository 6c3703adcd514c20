// The popup menu of the tavern's menu button: the text speed of scenes,
// saving and loading, and the version box.
#include "core/fom.h"
#include "core/text_speeds.h"
#include "kiravel/build_info.h"
#include "ui/handlers.h"

namespace kiravel {

namespace {

// Whether item lies below from, every menu on the way enabled.
bool ReachableBelow(const MenuItem& from, const MenuItem& item) {
  for (const MenuItem* child : from.Children) {
    if (!child->Enabled) continue;
    if (child == &item || ReachableBelow(*child, item)) return true;
  }
  return false;
}

}  // namespace

void Fom::MenuCom_Click() {
  const MenuItem* chosen = platform_.PopupMenu(menu);
  // A front end may hand back a greyed item or one whose submenu is greyed
  // (a keyboard accelerator, a queued choice): those do nothing.
  if (chosen == nullptr || !ReachableBelow(menu, *chosen)) return;
  const MenuBinding* binding = FindMenuItem(chosen->Name);
  if (binding == nullptr) return;  // a submenu chosen as a whole
  binding->choose(*this, chosen->Index);
}

void Fom::menu_tim_Click_Click(std::int16_t Index) {
  TimSay.SetInterval(TextSpeedInterval(Index));
}

void Fom::menu_ver_Click() {
  platform_.MsgBox(
      std::string("Kiravel\r\nVer２．００　完成版\r\n\r\n制作：Kiravel 開発チーム\r\n") + kHomepage,
      MsgBoxButtons::OK);
}

}  // namespace kiravel
