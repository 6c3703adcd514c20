#include "soak/shown_window.h"

namespace kiravel::soak {

// Nothing is loaded or played: the window is only ever looked at.
ShownWindow::ShownWindow() : fom_(platform_, "") {}

Fom& ShownWindow::As(const nlohmann::json& dump) {
  for (Control* control : fom_.AllControls()) {
    // A timer is switched only by the game, and is never clicked.
    if (control->Kind == ControlKind::Timer) continue;
    const auto shown = dump.find(control->Id());
    if (shown == dump.end() || !shown->is_object()) continue;
    control->Visible = shown->value("Visible", control->Visible);
    control->Enabled = shown->value("Enabled", control->Enabled);
  }
  return fom_;
}

}  // namespace kiravel::soak
