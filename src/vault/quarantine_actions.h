// What the two buttons do to one entry: restore it to where it came from, or delete it for good. Each asks
// first, never overwrites a file, and removes a description only once its data file is gone.
#pragma once

#include <string>

#include "vault/quarantine_files.h"
#include "vault/quarantine_listing.h"

namespace vur::vault {

// Seam: the questions and messages, as message boxes in vault.exe.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual bool Confirm(const std::string& question) = 0; // Yes
    virtual void Report(const std::string& failure) = 0;
};

enum class ActionResult { Done, Cancelled, Failed };

// Moves the data file back to its folder under its name, or under a free name of the user's choosing when
// that name is taken; a missing folder is created only after asking. The description is removed once the
// file is back.
ActionResult RestoreEntry(const QuarantineEntry& entry, const std::string& quarantineFolder,
                          QuarantineFiles& files, UserDialogs& dialogs);

// Deletes the data file, then the description, after a question that fits the kind of entry.
ActionResult DeleteEntry(const QuarantineEntry& entry, const std::string& quarantineFolder, QuarantineFiles& files,
                         UserDialogs& dialogs);

// "x (2).exe", "x (3).exe", ... the first name not taken in `folder`; empty when none up to 999 is free.
std::string FreeName(const std::string& folder, const std::string& fileName, QuarantineFiles& files);

} // namespace vur::vault
