// TVM_GETITEM takes a pointer to a TVITEM and its text buffer, so both live in the tree's process. The driver
// is built for the architecture of the programs it drives, so the record layouts agree.
#include "tree_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "remote_memory.h"

namespace drive {

namespace {

constexpr SIZE_T kTextOffset = 256, kTextSize = 260;
static_assert(sizeof(TVITEMA) <= kTextOffset, "TVITEMA fits before the text buffer");

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string ItemText(HWND tree, const RemoteMemory& remote, HTREEITEM item) {
    TVITEMA entry{};
    entry.mask = TVIF_TEXT | TVIF_HANDLE;
    entry.hItem = item;
    entry.pszText = reinterpret_cast<char*>(remote.At(kTextOffset));
    entry.cchTextMax = static_cast<int>(kTextSize);
    remote.Write(0, &entry, sizeof entry);
    Send(tree, TVM_GETITEMA, 0, remote.At(0));
    char text[kTextSize] = {};
    remote.Read(kTextOffset, text, kTextSize - 1);
    return text;
}

std::vector<HTREEITEM> ChildrenOf(HWND tree, HTREEITEM item) {
    Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = Next(tree, item, TVGN_CHILD); child; child = Next(tree, child, TVGN_NEXT))
        children.push_back(child);
    return children;
}

HTREEITEM Match(HWND tree, const RemoteMemory& remote, const std::vector<HTREEITEM>& items, const std::string& part) {
    for (HTREEITEM item : items)
        if (Lower(ItemText(tree, remote, item)).find(part) != std::string::npos) return item;
    return nullptr;
}

} // namespace

std::vector<std::string> SelectTreePath(HWND tree, const std::vector<std::string>& parts) {
    RemoteMemory remote(tree, kTextOffset + kTextSize);
    HTREEITEM at = Next(tree, nullptr, TVGN_ROOT);
    if (!at) throw std::runtime_error("the tree is empty");
    std::vector<std::string> chosen{ItemText(tree, remote, at)};
    for (const std::string& part : parts) {
        const std::string wanted = Lower(part);
        const std::vector<HTREEITEM> children = ChildrenOf(tree, at);
        HTREEITEM found = Match(tree, remote, children, wanted);
        for (size_t i = 0; !found && i < children.size(); ++i) {
            found = Match(tree, remote, ChildrenOf(tree, children[i]), wanted);
            if (found) chosen.push_back(ItemText(tree, remote, children[i]));
        }
        if (!found) throw std::runtime_error("no item \"" + part + "\" below \"" + chosen.back() + "\"");
        chosen.push_back(ItemText(tree, remote, found));
        at = found;
    }
    Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(at));
    Send(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(at));
    return chosen;
}

} // namespace drive
