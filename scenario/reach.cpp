#include "scenario/reach.h"

#include <vector>

#include "ui/handlers.h"

namespace kiravel::scenario {

namespace {

// "Com(3) is hidden" or "ComIrai lies in PicBar, which is hidden".
std::string Describe(const Control& control, const Control& culprit, const char* state) {
  if (&culprit == &control) return control.Id() + " is " + state;
  return control.Id() + " lies in " + culprit.Id() + ", which is " + state;
}

// The submenus above the item, nearest first.
bool FindPath(MenuItem& from, const MenuItem& item, std::vector<const MenuItem*>& path) {
  for (MenuItem* child : from.Children) {
    if (child == &item || FindPath(*child, item, path)) {
      path.push_back(&from);
      return true;
    }
  }
  return false;
}

}  // namespace

std::string WhyOutOfReach(const Control& control, Fom& fom) {
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (!c->Visible) return Describe(control, *c, "hidden");
  }
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (!c->Enabled) return Describe(control, *c, "disabled");
  }
  if (CoveredByStartPanel(fom, control)) {
    return "the start panel PicStt covers " + control.Id();
  }
  return "";
}

std::string WhyNotClickable(const Control& control, Fom& fom) {
  if (FindClick(control.Name) == nullptr) return control.Id() + " has no click handler";
  return WhyOutOfReach(control, fom);
}

std::string WhyMenuClosed(Fom& fom) {
  std::string why = WhyOutOfReach(fom.MenuCom, fom);
  return why.empty() ? "" : "the menu button cannot be clicked: " + why;
}

std::string WhyMenuItemDisabled(const MenuItem& item, Fom& fom) {
  if (!item.Enabled) return item.Id() + " is disabled";
  std::vector<const MenuItem*> path;
  FindPath(fom.menu, item, path);
  for (const MenuItem* submenu : path) {
    if (!submenu->Enabled) return item.Id() + " lies in " + submenu->Id() + ", which is disabled";
  }
  return "";
}

}  // namespace kiravel::scenario
