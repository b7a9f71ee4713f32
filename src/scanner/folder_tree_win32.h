// The scanner's folder tree: the shell's namespace from the desktop down, folders only, the system's icons.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "shared/ui/lists.h"

namespace vur::scanner {

// The shell calls of the tree, looked up in shell32.dll at run time so that the scanner also starts on a
// system where one is missing; the tree then does without it (a null member is never called).
struct ShellCalls {
    decltype(&::SHGetMalloc) getMalloc = nullptr;
    decltype(&::SHGetDesktopFolder) getDesktopFolder = nullptr;
    decltype(&::SHGetFileInfoA) getFileInfo = nullptr;
    decltype(&::SHGetPathFromIDListA) getPathFromIdList = nullptr;

    static ShellCalls Bound(); // those that this system's shell32.dll has
};

// The desktop is the only top entry, opened one level and selected on creation; an item's subfolders are
// read when it first opens, and the tree is not refreshed afterwards. Each item holds its absolute ID list
// (the item data), which the tree frees when the item goes. Without the shell allocator the tree shows only
// the desktop entry, without the desktop folder no children, without the file information no icons, and
// without the path call no paths.
//
// The items come from the shell only, and onExpanding and onDelete belong to the tree; onSelect is free for
// the form. The tree frees what is left in its destructor, so it must not outlive its parent's object (a
// member of the form, as usual). It initialises COM on its thread for the shell folders, balanced when it
// goes.
class ShellFolderTree : public ui::TreeView {
public:
    explicit ShellFolderTree(const ShellCalls& calls = ShellCalls::Bound()) : shell_(calls) {}
    ~ShellFolderTree() override;

    void Create(ui::Window& parent, int left, int top, int width, int height);
    bool HasSelection() const { return Selected() != nullptr; }
    // The file-system path of the selected item; empty when none is selected or it has none ("My Computer").
    std::string SelectedPath() const;

private:
    HTREEITEM AddItem(HTREEITEM parent, const std::string& name, LPITEMIDLIST absolute, bool hasSubfolders);
    void FillChildren(HTREEITEM item);
    IShellFolder* BindFolder(LPCITEMIDLIST absolute) const;
    LPITEMIDLIST Join(LPCITEMIDLIST parent, LPCITEMIDLIST child) const;
    std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST relative) const;

    ShellCalls shell_;
    bool comStarted_ = false;
    IMalloc* malloc_ = nullptr;
    IShellFolder* desktop_ = nullptr;
    bool icons_ = false;
};

} // namespace vur::scanner
