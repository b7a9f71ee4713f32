// Restoring and deleting quarantined files.
#include "vault/quarantine_actions.h"

namespace vur::vault {

namespace {

std::string Quoted(const std::string& text) { return "„" + text + "“"; }

std::string Because(QuarantineFiles& files) {
    const std::string why = files.LastError();
    return why.empty() ? "." : ": " + why;
}

// Removes the description once its file is gone; tells when that fails, since the entry stays in the list.
bool RemoveDescription(const std::string& path, const std::string& done, QuarantineFiles& files,
                       UserDialogs& dialogs) {
    if (files.Remove(path)) return true;
    dialogs.Report(done + "Die Beschreibung " + Quoted(path) + " konnte aber nicht gelöscht werden" + Because(files) +
                   "\n\nDu kannst sie in der Liste löschen.");
    return false;
}

} // namespace

std::string FreeName(const std::string& folder, const std::string& fileName, QuarantineFiles& files) {
    const std::size_t dot = fileName.rfind('.');
    const std::string base = dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
    const std::string extension = base.size() == fileName.size() ? std::string() : fileName.substr(dot);
    for (int number = 2; number <= 999; ++number) {
        const std::string name = base + " (" + std::to_string(number) + ")" + extension;
        if (!files.Exists(folder + name)) return name;
    }
    return std::string();
}

ActionResult RestoreEntry(const QuarantineEntry& entry, const std::string& quarantineFolder,
                          QuarantineFiles& files, UserDialogs& dialogs) {
    if (!entry.CanRestore()) return ActionResult::Cancelled;
    const std::string& folder = entry.folder;
    if (!dialogs.Confirm("Soll die Datei " + Quoted(entry.fileName) + " wiederhergestellt werden?\n\nVUR hat sie " +
                         "isoliert. Grund: " + entry.reason + "\n\nStelle sie nur wieder her, wenn Du sicher bist, " +
                         "dass sie harmlos ist. Sie kommt zurück in den Ordner " + Quoted(folder) + "."))
        return ActionResult::Cancelled;

    if (!files.FolderExists(folder)) {
        if (!dialogs.Confirm("Den Ordner " + Quoted(folder) + " gibt es nicht mehr.\n\nSoll VUR ihn anlegen und " +
                             "die Datei dorthin zurücklegen?"))
            return ActionResult::Cancelled;
        if (!files.CreateFolders(folder)) {
            dialogs.Report("Der Ordner " + Quoted(folder) + " konnte nicht angelegt werden" + Because(files) +
                           "\n\nDie Datei bleibt in der Quarantäne.");
            return ActionResult::Failed;
        }
    }

    std::string name = entry.fileName;
    if (files.Exists(folder + name)) {
        const std::string taken = "Im Ordner " + Quoted(folder) + " gibt es schon eine Datei " + Quoted(name) +
                                  ". VUR überschreibt sie nicht.";
        name = FreeName(folder, entry.fileName, files);
        if (name.empty()) {
            dialogs.Report(taken + " Auch unter einem anderen Namen ist dort kein Platz frei.\n\nDie Datei bleibt " +
                           "in der Quarantäne.");
            return ActionResult::Failed;
        }
        if (!dialogs.Confirm(taken + "\n\nSoll die Datei unter dem Namen " + Quoted(name) +
                             " wiederhergestellt werden?"))
            return ActionResult::Cancelled;
    }

    const std::string target = folder + name;
    if (!files.Move(quarantineFolder + entry.dataName, target)) {
        dialogs.Report("Die Datei " + Quoted(entry.fileName) + " konnte nicht nach " + Quoted(target) +
                       " zurückgelegt werden" + Because(files) + "\n\nSie bleibt in der Quarantäne.");
        return ActionResult::Failed;
    }
    const std::string done = "Die Datei " + Quoted(target) + " ist wiederhergestellt. ";
    return RemoveDescription(quarantineFolder + entry.descriptionName, done, files, dialogs) ? ActionResult::Done
                                                                                            : ActionResult::Failed;
}

ActionResult DeleteEntry(const QuarantineEntry& entry, const std::string& quarantineFolder, QuarantineFiles& files,
                         UserDialogs& dialogs) {
    std::string question;
    switch (entry.kind) {
    case EntryKind::Complete:
        question = "Soll die Datei " + Quoted(entry.fileName) + " endgültig gelöscht werden?\n\nSie lässt sich " +
                   "danach nicht wiederherstellen.";
        break;
    case EntryKind::DataMissing:
        question = "Zur Beschreibung " + Quoted(entry.descriptionName) + " (Datei " + Quoted(entry.fileName) +
                   ") fehlt die isolierte Datei.\n\nSoll die Beschreibung gelöscht werden?";
        break;
    case EntryKind::DescriptionMissing:
        question = "Zur Datei " + Quoted(entry.dataName) + " fehlt die Beschreibung, woher sie stammt, ist " +
                   "unbekannt.\n\nSoll sie endgültig gelöscht werden?";
        break;
    case EntryKind::DescriptionUnreadable:
        question = "Die Beschreibung " + Quoted(entry.descriptionName) + " ist unlesbar.\n\nSoll sie" +
                   (entry.dataName.empty() ? std::string() : " samt ihrer Datei " + Quoted(entry.dataName)) +
                   " endgültig gelöscht werden?";
        break;
    }
    if (!dialogs.Confirm(question)) return ActionResult::Cancelled;

    // The data file first: should its deletion fail, the description still tells what it is.
    if (!entry.dataName.empty() && !files.Remove(quarantineFolder + entry.dataName)) {
        dialogs.Report("Die Datei " + Quoted(quarantineFolder + entry.dataName) + " konnte nicht gelöscht werden" +
                       Because(files) + "\n\nSie bleibt in der Quarantäne.");
        return ActionResult::Failed;
    }
    if (entry.descriptionName.empty()) return ActionResult::Done;
    const std::string done = entry.dataName.empty() ? std::string() : "Die Datei ist gelöscht. ";
    return RemoveDescription(quarantineFolder + entry.descriptionName, done, files, dialogs) ? ActionResult::Done
                                                                                            : ActionResult::Failed;
}

} // namespace vur::vault
