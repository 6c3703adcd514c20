// The one save slot: four text files in the save folder that always belong
// together. A new set is written beside the old one and put in place as a
// whole, so that however a save is cut short (a crash, a full disk, a power
// cut), the folder holds either the old game or the new one, never a mix.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/save_set.h"
#include "platform/data_folder.h"
#include "platform/open_folder.h"

namespace kiravel {

// What went wrong, for the message to the player.
struct SaveFault {
  std::string Path;  // the file (or folder) concerned
  int Line = 0;      // 1-based; 0 when no one line is at fault
  std::string What;
  // False only when the new set was complete and committed but could not
  // all be moved to its own names: it is then the save, not the old one.
  bool OldSaveKept = true;
};

// The file's place below the data folder, "3行目：" and what is wrong, with the file as the player
// is shown it.
std::string DescribeSaveFault(const SaveFault& fault, const std::string& shownPath);

// Writes the set into the folder (created when missing) and puts it in place.
// On a fault the old save is left as it was. A save or a load holds the
// folder for itself alone from start to end, so two games started on one
// folder take turns and never mix their files.
std::optional<SaveFault> WriteSaveSet(const FolderPlace& folder, const SaveSet& set);

struct SaveSetRead {
  SaveSet Set;
  std::optional<SaveFault> Fault;
};

// Reads the complete set the folder holds, finishing first a save that was
// cut short after its new set was complete.
SaveSetRead ReadSaveSet(const FolderPlace& folder);

}  // namespace kiravel
