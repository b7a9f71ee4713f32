// TVault: the quarantine manager's window. One list of what the quarantine folder holds, sortable by each
// column, with the total below it; the folder is read again whenever the window becomes active, so that what
// the monitor or the scanner isolated meanwhile shows up.
#pragma once

#include <string>

#include "shared/ui/controls.h"
#include "shared/ui/heading.h"
#include "shared/ui/lists.h"
#include "shared/ui/window.h"
#include "vault/quarantine_actions.h"
#include "vault/quarantine_listing.h"

namespace vur::vault {

class TVault : public ui::Window, private UserDialogs {
public:
    void FormCreate();

private:
    void CreateComponents();
    void Layout();
    // Reads the folder and shows it, keeping the selected entry selected.
    void Reload();
    void Fill(const std::string& selectedKey);
    void UpdateButtons();
    const QuarantineEntry* SelectedEntry() const;
    void ColumnClick(int column);
    void RestoreClick();
    void DeleteClick();
    void HelpClick();

    bool Confirm(const std::string& question) override;
    void Report(const std::string& failure) override;

    std::string quarantineFolder_;
    QuarantineListing listing_;
    Column sortColumn_ = Column::Isolated;
    bool ascending_ = false;

    ui::Heading Panel1;
    ui::ListView List;
    ui::Label Total;
    ui::Button RestoreButton;
    ui::Button DeleteButton;
    ui::LinkLabel Help;
};

} // namespace vur::vault
