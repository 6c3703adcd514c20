// The Japanese names a screen reader reads for the window's controls, and
// which drawn parts it never hears of: the shadow behind the story text, the
// headings and status labels whose words the lists and bars already carry,
// the hidden lists behind the shown ones and the picture buffer.
#pragma once

#include <string>

#include "core/fom.h"
#include "events/picture_descriptions.h"
#include "ui/controls.h"

namespace kiravel::qt {

// "" for a control whose own words name it (a label reads its text).
std::string AccessibleName(const Fom& fom, const Control& control,
                           const PictureDescriptions& pictures);
bool OnlyDrawn(const Fom& fom, const Control& control);
// The panels painted with pictures: read as pictures, named by what they show.
bool ShowsPictures(const Fom& fom, const Control& control);

// A bar's value and maximum, as the bus reads it: the statuses out of their
// maxima, the monster's hit points out of what it met the courier with, and
// the courier's strength in the monster's attribute.
struct MeterReading {
  int value = 0;
  int maximum = 0;
};
bool IsMeter(const Fom& fom, const Control& control);
MeterReading ReadMeter(const Fom& fom, const Control& control);

}  // namespace kiravel::qt
