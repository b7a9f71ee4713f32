// The folder tree over the shell's namespace: ID lists, the folders' enumeration, the system's icons.
#include "scanner/folder_tree_win32.h"

#include "shared/system_library_win32.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace vur::scanner {

namespace {

// Releases an interface when the scope ends.
template <typename T>
struct Held {
    explicit Held(T* held = nullptr) : p(held) {}
    ~Held() {
        if (p) p->Release();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    T* p;
};

struct ShellFree {
    IMalloc* malloc;
    void operator()(ITEMIDLIST* list) const { malloc->Free(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, ShellFree>;

struct Child {
    IdList absolute;
    std::string name;
    bool hasSubfolders;
};

// An ID list is a byte string of items, each beginning with its size, up to a size of zero; the sizes are not
// aligned, so they are copied out rather than read in place.
USHORT ItemSize(const BYTE* item) {
    USHORT size;
    std::memcpy(&size, item, sizeof size);
    return size;
}

// Without the terminating zero size.
size_t ListSize(LPCITEMIDLIST list) {
    const auto* item = reinterpret_cast<const BYTE*>(list);
    size_t size = 0;
    while (const USHORT itemSize = ItemSize(item + size)) size += itemSize;
    return size;
}

// The last item, which names the entry within its parent folder; the desktop's empty list is its own.
LPCITEMIDLIST LastItem(LPCITEMIDLIST list) {
    const auto* item = reinterpret_cast<const BYTE*>(list);
    const BYTE* last = item;
    while (const USHORT size = ItemSize(item)) {
        last = item;
        item += size;
    }
    return reinterpret_cast<LPCITEMIDLIST>(last);
}

} // namespace

ShellCalls ShellCalls::Bound() {
    ShellCalls calls;
    // Never freed: the ID lists and the system image list that a tree holds belong to the shell.
    HMODULE shell = GetModuleHandleA("shell32.dll");
    if (!shell) shell = LoadLibraryA("shell32.dll");
    if (!shell) return calls;
    BindEntryPoint(shell, "SHGetMalloc", calls.getMalloc);
    BindEntryPoint(shell, "SHGetDesktopFolder", calls.getDesktopFolder);
    BindEntryPoint(shell, "SHGetFileInfoA", calls.getFileInfo);
    BindEntryPoint(shell, "SHGetPathFromIDListA", calls.getPathFromIdList);
    return calls;
}

ShellFolderTree::~ShellFolderTree() {
    if (hwnd_ && IsWindow(hwnd_)) {
        // Deleting the items while the control is still ours frees their ID lists through onDelete. The form
        // hears nothing of it: its other controls may be gone already.
        onSelect = nullptr;
        Clear();
    }
    if (desktop_) desktop_->Release();
    if (malloc_) malloc_->Release();
    if (comStarted_) CoUninitialize();
}

void ShellFolderTree::Create(ui::Window& parent, int left, int top, int width, int height) {
    TreeView::Create(parent, left, top, width, height, TVS_HASLINES);
    SelectOnRightClick(true);
    onExpanding = [this](HTREEITEM item) { FillChildren(item); };
    onDelete = [this](LPARAM data) {
        if (data) malloc_->Free(reinterpret_cast<void*>(data));
    };

    // Shell folders of namespace extensions are COM objects. The program need not know: a thread that runs
    // COM already answers S_FALSE, which the destructor balances like S_OK.
    comStarted_ = SUCCEEDED(CoInitialize(nullptr));
    if (shell_.getMalloc && FAILED(shell_.getMalloc(&malloc_))) malloc_ = nullptr;
    if (malloc_ && shell_.getDesktopFolder && FAILED(shell_.getDesktopFolder(&desktop_))) desktop_ = nullptr;

    const USHORT terminator = 0;
    const auto empty = reinterpret_cast<LPCITEMIDLIST>(&terminator);
    LPITEMIDLIST list = malloc_ ? Join(empty, empty) : nullptr;
    std::string name = "Desktop";
    if (list && shell_.getFileInfo) {
        SHFILEINFOA info{};
        const UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME;
        // The system's list, shared by every program; a tree view never destroys its image list.
        auto images = reinterpret_cast<HIMAGELIST>(
            shell_.getFileInfo(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags));
        if (images) {
            SetImages(images);
            icons_ = true;
        }
        if (info.szDisplayName[0]) name = info.szDisplayName;
    }
    HTREEITEM desktop = AddItem(nullptr, name, list, desktop_ != nullptr);
    if (!desktop) return;
    FillChildren(desktop);
    Expand(desktop);
    Select(desktop);
}

std::string ShellFolderTree::SelectedPath() const {
    HTREEITEM item = Selected();
    const auto list = item ? reinterpret_cast<LPCITEMIDLIST>(Data(item)) : nullptr;
    char path[MAX_PATH] = {};
    if (!list || !shell_.getPathFromIdList || !shell_.getPathFromIdList(list, path)) return {};
    return path;
}

HTREEITEM ShellFolderTree::AddItem(HTREEITEM parent, const std::string& name, LPITEMIDLIST absolute,
                                   bool hasSubfolders) {
    HTREEITEM item = Add(parent, name, reinterpret_cast<LPARAM>(absolute), hasSubfolders);
    if (!item) {
        if (absolute) malloc_->Free(absolute);
        return nullptr;
    }
    if (icons_ && absolute) {
        SHFILEINFOA info{};
        const auto pidl = reinterpret_cast<LPCSTR>(absolute);
        const UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
        const int image = shell_.getFileInfo(pidl, 0, &info, sizeof info, flags) ? info.iIcon : 0;
        const int open = shell_.getFileInfo(pidl, 0, &info, sizeof info, flags | SHGFI_OPENICON) ? info.iIcon : image;
        SetImage(item, image, open);
    }
    return item;
}

void ShellFolderTree::FillChildren(HTREEITEM item) {
    const auto absolute = reinterpret_cast<LPCITEMIDLIST>(Data(item));
    if (!absolute || !desktop_ || FirstChild(item)) return; // nothing to read, or read before
    std::vector<Child> children;
    Held<IShellFolder> folder(BindFolder(absolute));
    Held<IEnumIDList> entries;
    // Hidden folders too: dialers like to hide in them. The tree owns any question the shell asks (a disk
    // for an empty drive), as the user has just opened that item.
    const SHCONTF contents = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
    if (folder.p && folder.p->EnumObjects(hwnd_, contents, &entries.p) == S_OK && entries.p) {
        for (;;) {
            LPITEMIDLIST relative = nullptr;
            ULONG fetched = 0;
            if (entries.p->Next(1, &relative, &fetched) != S_OK || !relative) break;
            IdList owned(relative, ShellFree{malloc_});
            LPCITEMIDLIST asked = relative;
            ULONG attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_STREAM;
            if (FAILED(folder.p->GetAttributesOf(1, &asked, &attributes))) continue;
            // Some namespace extensions list more than folders when asked for folders. Archives that the
            // shell opens like folders (zip and cab files on XP, folder and stream at once) are files to the
            // scanner.
            if (!(attributes & SFGAO_FOLDER) || (attributes & SFGAO_STREAM)) continue;
            IdList joined(Join(absolute, relative), ShellFree{malloc_});
            if (!joined) continue;
            children.push_back(
                Child{std::move(joined), DisplayName(folder.p, relative), (attributes & SFGAO_HASSUBFOLDER) != 0});
        }
        // In the shell's order, as the Explorer shows them (on the desktop its own folders first, then by
        // name; drives by letter); the enumeration order of a FAT drive is that of creation.
        IShellFolder* compare = folder.p;
        std::stable_sort(children.begin(), children.end(), [compare](const Child& a, const Child& b) {
            const HRESULT order = compare->CompareIDs(0, LastItem(a.absolute.get()), LastItem(b.absolute.get()));
            return SUCCEEDED(order) && static_cast<short>(HRESULT_CODE(order)) < 0;
        });
    }
    for (Child& child : children) AddItem(item, child.name, child.absolute.release(), child.hasSubfolders);
    if (children.empty()) SetHasChildren(item, false); // the shell promised subfolders, there are none to show
}

IShellFolder* ShellFolderTree::BindFolder(LPCITEMIDLIST absolute) const {
    if (ItemSize(reinterpret_cast<const BYTE*>(absolute)) == 0) {
        desktop_->AddRef();
        return desktop_;
    }
    IShellFolder* folder = nullptr;
    if (FAILED(desktop_->BindToObject(absolute, nullptr, __uuidof(IShellFolder), reinterpret_cast<void**>(&folder))))
        return nullptr;
    return folder;
}

LPITEMIDLIST ShellFolderTree::Join(LPCITEMIDLIST parent, LPCITEMIDLIST child) const {
    const size_t head = ListSize(parent), tail = ListSize(child);
    auto* joined = static_cast<BYTE*>(malloc_->Alloc(head + tail + sizeof(USHORT)));
    if (!joined) return nullptr;
    std::memcpy(joined, parent, head);
    std::memcpy(joined + head, child, tail);
    std::memset(joined + head + tail, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(joined);
}

std::string ShellFolderTree::DisplayName(IShellFolder* folder, LPCITEMIDLIST relative) const {
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(relative, SHGDN_INFOLDER, &name))) return {};
    switch (name.uType) {
    case STRRET_CSTR:
        return name.cStr;
    case STRRET_OFFSET:
        return reinterpret_cast<const char*>(relative) + name.uOffset;
    case STRRET_WSTR: {
        if (!name.pOleStr) return {};
        char text[MAX_PATH * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, text, sizeof text, nullptr, nullptr);
        malloc_->Free(name.pOleStr); // the shell's allocator gave it
        return text;
    }
    }
    return {};
}

} // namespace vur::scanner
