// vurdrive: drives the suite's windows from e2e tests (wait, read, answer, click, hover, send, list).
//
// Usage: vurdrive COMMAND [--option value]...; results go to stdout, one item a line, texts as CP1252 bytes
// with tab, CR and LF escaped as \t, \r, \n. Exit code 0 on success, 1 on timeout or when nothing matched,
// 2 on a usage error. Every wait is bounded by --timeout (milliseconds, default 5000; 10000 for wait/answer).
//
// Window selection (top level): --class, --title (whole caption), --title-part, --pid, --exe (process file
// name via ToolHelp32), --hwnd, --hidden 1 (include invisible windows). Child selection: --child-class,
// --child-text, --child-id, --child-index (n-th match, default 0).
//
// Commands:
//   wait     wait until the window (and child) exists; prints its handle
//   gone     wait until no matching top-level window is left
//   text     prints the window (handle, class, text) and every descendant (handle, class, id, rect as
//            x,y,width,height in the top window's client coordinates, visible, enabled, text)
//   answer   --title CAPTION --button yes|no|ok|cancel|retry|abort|ignore|N: prints the message box's texts,
//            presses the button by WM_COMMAND and waits until the box has closed
//   click    clicks at --at x,y (client coordinates of the target, default its centre); --mode real (default:
//            SetCursorPos and mouse_event, so the system routes it as a user's click) or post (posted mouse
//            messages to the target itself); --button left|right
//   move     moves the mouse to --at x,y of the target (default its centre), as real input
//   send     SendMessageTimeout --msg N [--wparam N] [--lparam N] to the target; prints the result
//   post     PostMessage --msg N [--wparam N] [--lparam N] to the target
//   close    posts WM_CLOSE to the target and waits until it is gone
//   where    prints the target's window rect and client area in screen coordinates:
//            left top width height client-left client-top client-width client-height
//   resize   --size w,h: resizes the target's frame as a program can (SetWindowPos), so the window's own
//            size limits apply
//   pixel    prints "r g b" of the screen pixel at --at x,y of the target's client area
//   list     prints every top-level window matching (handle, pid, class, visible, text); --hidden defaults to 1
//   pids     prints the process ids of --exe, one a line (exit code 0 also when there are none)
//   kill     terminates every process of --exe or --pid
//   kill-wait --kill PID [--mutex NAME] [--quit 1]: terminates that process (with --quit 1: posts WM_QUIT to
//            its threads instead and waits for those threads' end), waits for its end, then polls every 5 ms;
//            prints the milliseconds from the end of the process until the named mutex is owned again (when
//            given; -1 if never) and until the target window appears, separated by a blank
//   quit     --pid PID: posts WM_QUIT to every thread of that process; prints how many; 1 when none
//   mutex    --name NAME: exit code 0 when a thread owns the named mutex, 1 when it is absent or free
//   tree     --select "A|B|C": in a tree view (--child-class SysTreeView32) opens the items on the way and
//            selects the item whose text contains C below one containing B ... (case-insensitive; a part not
//            found among an item's children is looked for among its grandchildren); prints the chosen texts
//   settext  --text T: sets the target's text with WM_SETTEXT (e.g. a file dialog's name field)
//   shortpath --path P: prints the 8.3 form of an existing path
//   menu     --pick N: waits for an open popup menu (of --exe/--pid processes) and chooses its N-th item
//            (from 0) by keyboard, as a user would
//   report   reads a rich edit control (e.g. --child-class RICHEDIT): one line per control line,
//            "RRGGBB\ttext", the hex colour of the line's first character (of the line break when the line
//            is empty), then the line's text without its break, escaped; a final line break ends the last
//            line (an empty control has none); the control's selection and scroll position are restored
//   items    reads a list view (SysListView32) or a combo box (ComboBox). A list view: a first line
//            "rows\tcolumns\tselected\twidths", the row and header column counts, the first selected row (-1
//            when none) and the column widths in pixels separated by commas, then one line per row from row 0,
//            its column texts (the item's own text when there are no columns) escaped and separated by tabs.
//            A combo box: a first line "lines\tselected" (-1 when none), then each list line escaped (empty
//            for an owner-drawn box that keeps no strings). Any other control is exit code 1
#include "items.h"
#include "options.h"
#include "rich_edit.h"
#include "tree_view.h"
#include "windows.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using namespace drive;

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

void PrintHandle(HWND window) { std::printf("0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window))); }

WindowQuery TopQuery(const Options& o, bool hiddenDefault = false) {
    WindowQuery q;
    q.className = o.Text("class");
    q.title = o.Text("title");
    q.titlePart = o.Text("title-part");
    q.visibleOnly = o.Number("hidden", hiddenDefault ? 1 : 0) == 0;
    if (o.Has("hwnd")) q.handle = reinterpret_cast<HWND>(static_cast<UINT_PTR>(o.Number("hwnd", 0)));
    if (o.Has("pid")) q.pids.push_back(static_cast<DWORD>(o.Number("pid", 0)));
    if (o.Has("exe")) {
        q.pids = ProcessesByExe(o.Text("exe"));
        if (q.pids.empty()) q.pids.push_back(0xFFFFFFFF); // a process that cannot exist: nothing matches
    }
    return q;
}

ChildQuery ChildOf(const Options& o) {
    ChildQuery c;
    c.className = o.Text("child-class");
    c.text = o.Text("child-text");
    c.id = o.Number("child-id", -1);
    c.index = o.Number("child-index", 0);
    return c;
}

DWORD Timeout(const Options& o, long fallback) { return static_cast<DWORD>(o.Number("timeout", fallback)); }

// The target window, waited for; throws when it does not appear in time.
HWND Target(const Options& o, long timeoutFallback = 5000) {
    HWND window = WaitForWindow(TopQuery(o), ChildOf(o), Timeout(o, timeoutFallback));
    if (!window) throw std::runtime_error("timeout: no such window");
    return window;
}

// The point --at (client coordinates of the window; default its centre) in screen coordinates.
POINT ScreenPoint(const Options& o, HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    long x = client.right / 2, y = client.bottom / 2;
    o.Point("at", x, y);
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

// Real input: the cursor is put there and a hardware-like move follows, so hit-testing decides who gets it.
void MoveMouse(POINT p) {
    SetCursorPos(p.x, p.y);
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, static_cast<DWORD>((p.x * 65536 + w - 1) / w),
                static_cast<DWORD>((p.y * 65536 + h - 1) / h), 0, 0);
    Sleep(100);
}

int Click(const Options& o) {
    HWND window = Target(o);
    bool right = o.Text("button", "left") == "right";
    if (o.Text("mode", "real") == "post") {
        RECT client{};
        GetClientRect(window, &client);
        long x = client.right / 2, y = client.bottom / 2;
        o.Point("at", x, y);
        LPARAM at = MAKELPARAM(x, y);
        PostMessageA(window, WM_MOUSEMOVE, 0, at);
        PostMessageA(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
        PostMessageA(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    } else {
        MoveMouse(ScreenPoint(o, window));
        mouse_event(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        Sleep(50);
        mouse_event(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        Sleep(100);
    }
    std::printf("clicked\n");
    return 0;
}

int Text(const Options& o) {
    HWND top = Target(o);
    PrintHandle(top);
    std::printf("\t%s\t%s\n", ClassOf(top).c_str(), Escaped(WindowText(top)).c_str());
    for (HWND child : Children(top)) {
        RECT r{};
        GetWindowRect(child, &r);
        POINT origin{r.left, r.top};
        ScreenToClient(top, &origin);
        PrintHandle(child);
        std::printf("\t%s\t%d\t%ld,%ld,%ld,%ld\t%d\t%d\t%s\n", ClassOf(child).c_str(), GetDlgCtrlID(child),
                    origin.x, origin.y, r.right - r.left, r.bottom - r.top, IsWindowVisible(child) ? 1 : 0,
                    IsWindowEnabled(child) ? 1 : 0, Escaped(WindowText(child)).c_str());
    }
    return 0;
}

int ButtonId(const std::string& name) {
    if (name == "yes") return IDYES;
    if (name == "no") return IDNO;
    if (name == "ok") return IDOK;
    if (name == "cancel") return IDCANCEL;
    if (name == "retry") return IDRETRY;
    if (name == "abort") return IDABORT;
    if (name == "ignore") return IDIGNORE;
    return std::stoi(name);
}

int Answer(const Options& o) {
    if (!o.Has("title")) throw std::invalid_argument("answer needs --title");
    WindowQuery q = TopQuery(o);
    q.className = "#32770";
    DWORD timeout = Timeout(o, 10000);
    HWND box = WaitForWindow(q, ChildQuery{}, timeout);
    if (!box) {
        std::printf("timeout: no message box\n");
        return 1;
    }
    for (HWND child : Children(box))
        if (ClassOf(child) == "Static" && !WindowText(child).empty())
            std::printf("%s\n", Escaped(WindowText(child)).c_str());
    int id = ButtonId(o.Text("button", "ok"));
    HWND button = GetDlgItem(box, id);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    WindowQuery same;
    same.handle = box;
    same.visibleOnly = false;
    if (!WaitUntilGone(same, timeout)) {
        std::printf("timeout: the box stayed open\n");
        return 1;
    }
    return 0;
}

int Message(const Options& o, bool post) {
    HWND window = Target(o);
    UINT msg = static_cast<UINT>(o.Number("msg", -1));
    WPARAM w = static_cast<WPARAM>(o.Number("wparam", 0));
    LPARAM l = static_cast<LPARAM>(o.Number("lparam", 0));
    if (post) return PostMessageA(window, msg, w, l) ? 0 : 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, msg, w, l, SMTO_ABORTIFHUNG, Timeout(o, 5000), &result)) return 1;
    std::printf("%ld\n", static_cast<long>(result));
    return 0;
}

int List(const Options& o) {
    for (HWND window : FindTopLevel(TopQuery(o, true))) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        PrintHandle(window);
        std::printf("\t%lu\t%s\t%d\t%s\n", static_cast<unsigned long>(pid), ClassOf(window).c_str(),
                    IsWindowVisible(window) ? 1 : 0, Escaped(WindowText(window)).c_str());
    }
    return 0;
}

int Kill(const Options& o) {
    std::vector<DWORD> pids = o.Has("exe") ? ProcessesByExe(o.Text("exe")) : std::vector<DWORD>{};
    if (o.Has("pid")) pids.push_back(static_cast<DWORD>(o.Number("pid", 0)));
    int failed = 0;
    for (DWORD pid : pids) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!process) {
            ++failed;
            continue;
        }
        if (!TerminateProcess(process, 1) || WaitForSingleObject(process, Timeout(o, 5000)) != WAIT_OBJECT_0) ++failed;
        CloseHandle(process);
        std::printf("%lu\n", static_cast<unsigned long>(pid));
    }
    return failed ? 1 : 0;
}

// Whether another thread owns the named mutex; a free or abandoned one is taken for a moment and given back.
bool MutexOwned(const std::string& name) {
    HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str());
    if (!mutex) return false;
    const DWORD wait = WaitForSingleObject(mutex, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex);
    CloseHandle(mutex);
    return wait == WAIT_TIMEOUT;
}

int KillWait(const Options& o) {
    const DWORD victim = static_cast<DWORD>(o.Number("kill", 0));
    if (o.Number("quit", 0)) {
        // Only its threads are told to quit; the process may live on. The time runs from the moment the last
        // thread that took the message has ended (a message can no longer be posted to it).
        const std::vector<DWORD> threads = PostQuitToThreads(victim);
        if (threads.empty()) throw std::runtime_error("no thread to post WM_QUIT to");
        const DWORD posted = GetTickCount();
        for (DWORD thread : threads)
            while (PostThreadMessageA(thread, WM_NULL, 0, 0)) {
                if (GetTickCount() - posted > 5000) throw std::runtime_error("a thread did not end on WM_QUIT");
                Sleep(1);
            }
    } else {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, victim);
        if (!process) throw std::runtime_error("cannot open the process to end");
        TerminateProcess(process, 1);
        const bool ended = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
        CloseHandle(process);
        if (!ended) throw std::runtime_error("the process did not end");
    }
    const DWORD start = GetTickCount();
    const DWORD timeout = Timeout(o, 5000);
    const auto elapsed = [start] { return static_cast<long>(GetTickCount() - start); };
    // The mutex first, on its own: looking at windows of the process that just died can itself stall.
    long mutexBack = -1;
    const std::string mutexName = o.Text("mutex");
    while (!mutexName.empty() && mutexBack < 0 && elapsed() <= static_cast<long>(timeout)) {
        if (MutexOwned(mutexName))
            mutexBack = elapsed();
        else
            Sleep(2);
    }
    const WindowQuery query = TopQuery(o);
    while (FindTopLevel(query).empty()) {
        if (elapsed() > static_cast<long>(timeout)) {
            std::printf("%ld timeout\n", mutexBack);
            return 1;
        }
        Sleep(5);
    }
    std::printf("%ld %ld\n", mutexBack, elapsed());
    return 0;
}

int Menu(const Options& o) {
    WindowQuery q = TopQuery(o);
    q.className = "#32768";
    HWND menu = WaitForWindow(q, ChildQuery{}, Timeout(o, 5000));
    if (!menu) {
        std::printf("timeout: no menu\n");
        return 1;
    }
    // The first arrow selects the first item; the menu loop reads keys from its thread's queue.
    const long pick = o.Number("pick", 0);
    for (long i = 0; i <= pick; ++i) {
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        Sleep(30);
    }
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    WindowQuery same;
    same.handle = menu;
    if (!WaitUntilGone(same, Timeout(o, 5000))) {
        std::printf("timeout: the menu stayed open\n");
        return 1;
    }
    return 0;
}

int Items(const Options& o) {
    HWND control = Target(o);
    const std::string type = ClassOf(control);
    if (lstrcmpiA(type.c_str(), "SysListView32") == 0) {
        const ListViewItems list = ReadListView(control);
        std::string widths;
        for (int width : list.widths) widths += (widths.empty() ? "" : ",") + std::to_string(width);
        std::printf("%u\t%u\t%ld\t%s\n", static_cast<unsigned>(list.rows.size()),
                    static_cast<unsigned>(list.widths.size()), list.selected, widths.c_str());
        for (const std::vector<std::string>& row : list.rows) {
            std::string line;
            for (size_t c = 0; c < row.size(); ++c) line += (c ? "\t" : "") + Escaped(row[c]);
            std::printf("%s\n", line.c_str());
        }
        return 0;
    }
    if (lstrcmpiA(type.c_str(), "ComboBox") == 0) {
        const ComboItems combo = ReadComboBox(control);
        std::printf("%u\t%ld\n", static_cast<unsigned>(combo.lines.size()), combo.selected);
        for (const std::string& line : combo.lines) std::printf("%s\n", Escaped(line).c_str());
        return 0;
    }
    std::fprintf(stderr, "vurdrive: items reads a list view or a combo box, not a %s\n", type.c_str());
    return 1;
}

int Run(const std::string& command, const Options& o) {
    if (command == "wait") {
        HWND window = WaitForWindow(TopQuery(o), ChildOf(o), Timeout(o, 10000));
        if (!window) {
            std::printf("timeout\n");
            return 1;
        }
        PrintHandle(window);
        std::printf("\n");
        return 0;
    }
    if (command == "gone") return WaitUntilGone(TopQuery(o), Timeout(o, 5000)) ? 0 : 1;
    if (command == "text") return Text(o);
    if (command == "answer") return Answer(o);
    if (command == "click") return Click(o);
    if (command == "move") {
        MoveMouse(ScreenPoint(o, Target(o)));
        std::printf("moved\n");
        return 0;
    }
    if (command == "send") return Message(o, false);
    if (command == "post") return Message(o, true);
    if (command == "close") {
        WindowQuery q = TopQuery(o);
        HWND window = Target(o);
        PostMessageA(window, WM_CLOSE, 0, 0);
        q.handle = window;
        return WaitUntilGone(q, Timeout(o, 5000)) ? 0 : 1;
    }
    if (command == "where") {
        HWND window = Target(o);
        RECT r{};
        GetWindowRect(window, &r);
        RECT client{};
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top, origin.x,
                    origin.y, client.right, client.bottom);
        return 0;
    }
    if (command == "resize") {
        long width = 0, height = 0;
        if (!o.Point("size", width, height)) throw std::runtime_error("resize needs --size w,h");
        return SetWindowPos(Target(o), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (command == "pixel") {
        POINT p = ScreenPoint(o, Target(o));
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        if (c == CLR_INVALID) return 1;
        std::printf("%d %d %d\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return 0;
    }
    if (command == "list") return List(o);
    if (command == "pids") {
        for (DWORD pid : ProcessesByExe(o.Text("exe"))) std::printf("%lu\n", static_cast<unsigned long>(pid));
        return 0;
    }
    if (command == "kill") return Kill(o);
    if (command == "kill-wait") return KillWait(o);
    if (command == "quit") {
        const auto posted = drive::PostQuitToThreads(static_cast<DWORD>(std::stoul(o.Text("pid"))));
        std::printf("%u\n", static_cast<unsigned>(posted.size()));
        return posted.empty() ? 1 : 0;
    }
    if (command == "mutex") return MutexOwned(o.Text("name")) ? 0 : 1;
    if (command == "menu") return Menu(o);
    if (command == "report") {
        for (const RichLine& line : RichEditLines(Target(o)))
            std::printf("%02X%02X%02X\t%s\n", GetRValue(line.colour), GetGValue(line.colour),
                        GetBValue(line.colour), Escaped(line.text).c_str());
        return 0;
    }
    if (command == "items") return Items(o);
    if (command == "tree") {
        std::vector<std::string> parts;
        const std::string path = o.Text("select");
        for (size_t at = 0; at <= path.size();) {
            size_t bar = path.find('|', at);
            if (bar == std::string::npos) bar = path.size();
            if (bar > at) parts.push_back(path.substr(at, bar - at));
            at = bar + 1;
        }
        ChildQuery tree = ChildOf(o);
        if (!tree.IsSet()) tree.className = "SysTreeView32";
        HWND window = WaitForWindow(TopQuery(o), tree, Timeout(o, 5000));
        if (!window) throw std::runtime_error("timeout: no such tree");
        for (const std::string& text : SelectTreePath(window, parts)) std::printf("%s\n", Escaped(text).c_str());
        return 0;
    }
    if (command == "settext") {
        HWND window = Target(o);
        const std::string text = o.Text("text");
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                                 5000, &result))
            throw std::runtime_error("the window does not answer");
        return 0;
    }
    if (command == "shortpath") {
        char shortPath[MAX_PATH] = {};
        const DWORD n = GetShortPathNameA(o.Text("path").c_str(), shortPath, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return 1;
        std::printf("%s\n", shortPath);
        return 0;
    }
    throw std::invalid_argument("unknown command: " + command);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vurdrive COMMAND [--option value]... (see the source's head comment)\n");
        return 2;
    }
    try {
        Options options(argc, argv, 2);
        int rc = Run(argv[1], options);
        std::fflush(stdout);
        return rc;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "vurdrive: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::printf("%s\n", e.what());
        return 1;
    }
}
