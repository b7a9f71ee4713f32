// The scanner's folder tree under Wine: the shell's namespace from the desktop down, folders only, with the
// system's icons and every ID list freed; a shell32 without some of the calls.
#include "scanner/folder_tree_win32.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "../shared/scratch_folder.h"
#include "shared/ui/application.h"
#include "shared/ui/window.h"

namespace {

using vur::scanner::ShellCalls;
using vur::scanner::ShellFolderTree;

// The shell's allocator, keeping the blocks allocated through it that are not freed yet.
struct CountingAllocator : IMalloc {
    std::set<void*> live;
    IMalloc* shell = nullptr;
    void* Keep(void* block) { return block ? *live.insert(block).first : nullptr; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        return *object = nullptr, E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T size) override { return Keep(shell->Alloc(size)); }
    void* STDMETHODCALLTYPE Realloc(void* block, SIZE_T size) override {
        live.erase(block);
        return Keep(shell->Realloc(block, size));
    }
    void STDMETHODCALLTYPE Free(void* block) override { live.erase(block), shell->Free(block); }
    SIZE_T STDMETHODCALLTYPE GetSize(void* block) override { return shell->GetSize(block); }
    int STDMETHODCALLTYPE DidAlloc(void* block) override { return shell->DidAlloc(block); }
    void STDMETHODCALLTYPE HeapMinimize() override { shell->HeapMinimize(); }
} counting;

HRESULT WINAPI CountingMalloc(IMalloc** allocator) {
    if (!counting.shell) SHGetMalloc(&counting.shell);
    *allocator = &counting;
    return S_OK;
}

struct Shown {
    std::string text = std::string(MAX_PATH, '\0');
    TVITEMA item{};
};

Shown Look(const ShellFolderTree& tree, HTREEITEM item) {
    Shown shown;
    shown.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    shown.item.hItem = item;
    shown.item.stateMask = TVIS_EXPANDED;
    shown.item.pszText = &shown.text[0];
    shown.item.cchTextMax = MAX_PATH;
    SendMessageA(tree.hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shown.item));
    shown.text.resize(shown.text.find('\0'));
    return shown;
}

// The children of an item, opened as the user opens it.
std::vector<HTREEITEM> Open(ShellFolderTree& tree, HTREEITEM item) {
    tree.Expand(item);
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = tree.FirstChild(item); child; child = TreeView_GetNextSibling(tree.hwnd(), child))
        children.push_back(child);
    return children;
}

std::string PathOf(ShellFolderTree& tree, HTREEITEM item) {
    tree.Select(item);
    return tree.SelectedPath();
}

HTREEITEM ChildWithPath(ShellFolderTree& tree, HTREEITEM parent, const std::string& path) {
    for (HTREEITEM child : Open(tree, parent))
        if (lstrcmpiA(PathOf(tree, child).c_str(), path.c_str()) == 0) return child;
    return nullptr;
}

SHFILEINFOA ShellInfo(const void* list, UINT flags) {
    SHFILEINFOA info{};
    SHGetFileInfoA(static_cast<LPCSTR>(list), 0, &info, sizeof info, flags | SHGFI_PIDL);
    return info;
}

std::string DesktopPath() {
    LPITEMIDLIST list = nullptr;
    char path[MAX_PATH] = {};
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list);
    SHGetPathFromIDListA(list, path);
    CoTaskMemFree(list);
    return path;
}

TEST(ShellFolderTree, ShowsTheNamespaceFromTheDesktopDownFoldersOnly) {
    vur::ui::InitApplication("VUR 3.5 Test");
    ScratchFolder scratch;
    const std::string base = scratch.Path().substr(0, scratch.Path().size() - 1);
    for (const char* name : {"Zeta", "Versteckt", "Alpha", "Unterordner", "mitte"})
        CreateDirectoryA((scratch.Path() + name).c_str(), nullptr);
    SetFileAttributesA((scratch.Path() + "Versteckt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    scratch.Write("Unterordner\\datei.txt", "x");
    scratch.Write("datei.txt", "x");

    vur::ui::Window form;
    form.CreateForm("Auswahl", 300, 400);
    form.SetQuitOnDestroy(false);
    ShellCalls calls = ShellCalls::Bound();
    calls.getMalloc = CountingMalloc;
    ShellFolderTree tree(calls);
    tree.Create(form, 0, 0, 300, 400);
    const HTREEITEM desktop = TreeView_GetRoot(tree.hwnd());
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(TreeView_GetNextSibling(tree.hwnd(), desktop), nullptr) << "the desktop is the only top entry";
    EXPECT_TRUE(Look(tree, desktop).item.state & TVIS_EXPANDED);
    EXPECT_EQ(tree.Selected(), desktop);
    EXPECT_EQ(tree.SelectedPath(), DesktopPath());

    // "My Computer": an entry of the desktop without a path, with drive C: in it.
    HTREEITEM computer = nullptr, drive = nullptr;
    for (HTREEITEM child = tree.FirstChild(desktop); child && !drive;
         child = TreeView_GetNextSibling(tree.hwnd(), child))
        if (Look(tree, child).item.cChildren && PathOf(tree, child).empty())
            if ((drive = ChildWithPath(tree, child, "C:\\"))) computer = child;
    ASSERT_NE(drive, nullptr);
    LPITEMIDLIST drives = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives);
    EXPECT_EQ(Look(tree, computer).text, ShellInfo(drives, SHGFI_DISPLAYNAME).szDisplayName);
    CoTaskMemFree(drives);

    // The system's small icons, closed and open, of the ID list each item holds.
    const UINT icon = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    SHFILEINFOA info{};
    const auto systemImages = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, icon));
    EXPECT_EQ(TreeView_GetImageList(tree.hwnd(), TVSIL_NORMAL), systemImages);
    for (HTREEITEM item : {desktop, computer, drive}) {
        const auto list = reinterpret_cast<const void*>(tree.Data(item));
        EXPECT_EQ(Look(tree, item).item.iImage, ShellInfo(list, icon).iIcon) << Look(tree, item).text;
        EXPECT_EQ(Look(tree, item).item.iSelectedImage, ShellInfo(list, icon | SHGFI_OPENICON).iIcon);
    }
    EXPECT_NE(Look(tree, desktop).item.iImage, Look(tree, drive).item.iImage);

    // Down to the scratch folder, one level at a time: hidden folders too, no files, in the shell's order.
    HTREEITEM folder = drive;
    for (size_t end = base.find('\\', 3); folder; end = base.find('\\', end + 1)) {
        folder = ChildWithPath(tree, folder, base.substr(0, end));
        if (end == std::string::npos) break;
    }
    ASSERT_NE(folder, nullptr) << base;
    const std::vector<HTREEITEM> children = Open(tree, folder);
    std::vector<std::string> paths, expected;
    for (HTREEITEM child : children) paths.push_back(PathOf(tree, child));
    for (const char* name : {"Alpha", "mitte", "Unterordner", "Versteckt", "Zeta"})
        expected.push_back(base + "\\" + name);
    ASSERT_EQ(paths, expected);
    EXPECT_TRUE(Open(tree, children[2]).empty()) << "only a file in it";
    EXPECT_EQ(Look(tree, children[2]).item.cChildren, 0) << "no [+] once it turned out empty";

    // Every ID list is freed: with its item, and when the window goes with its parent.
    std::vector<void*> goes{reinterpret_cast<void*>(tree.Data(computer))};
    for (HTREEITEM child : Open(tree, computer)) goes.push_back(reinterpret_cast<void*>(tree.Data(child)));
    TreeView_DeleteItem(tree.hwnd(), computer);
    for (void* list : goes) EXPECT_EQ(counting.live.count(list), 0u);
    EXPECT_EQ(counting.live.count(reinterpret_cast<void*>(tree.Data(desktop))), 1u);
    DestroyWindow(form.hwnd());
    EXPECT_TRUE(counting.live.empty());
}

TEST(ShellFolderTree, ShowsWhatItCanWithoutSomeShellCalls) {
    vur::ui::InitApplication("VUR 3.5 Test");
    std::vector<ShellCalls> cases(5, ShellCalls::Bound());
    cases[0] = ShellCalls{};
    cases[1].getMalloc = nullptr;
    cases[2].getDesktopFolder = nullptr;
    cases[3].getFileInfo = nullptr;
    cases[4].getPathFromIdList = nullptr;
    for (size_t i = 0; i < cases.size(); ++i) {
        ShellCalls& calls = cases[i];
        if (calls.getMalloc) calls.getMalloc = CountingMalloc;
        vur::ui::Window form;
        form.CreateForm("Auswahl", 300, 400);
        {
            ShellFolderTree tree(calls);
            tree.Create(form, 0, 0, 300, 400);
            const HTREEITEM desktop = TreeView_GetRoot(tree.hwnd());
            ASSERT_NE(desktop, nullptr) << i;
            EXPECT_EQ(tree.Selected(), desktop) << i;
            EXPECT_EQ(tree.FirstChild(desktop) != nullptr, calls.getMalloc && calls.getDesktopFolder) << i;
            EXPECT_EQ(TreeView_GetImageList(tree.hwnd(), TVSIL_NORMAL) != nullptr, calls.getMalloc && calls.getFileInfo)
                << i;
            EXPECT_EQ(tree.SelectedPath(), calls.getMalloc && calls.getPathFromIdList ? DesktopPath() : "") << i;
        }
        EXPECT_TRUE(counting.live.empty()) << i << ": freed with the tree";
    }
}

} // namespace
