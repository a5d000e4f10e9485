// Speed as the user feels it: starts a real editor window (kib, a bare
// GtkTextView, a bare wxStyledTextCtrl with Java lexing), sends keys through
// XTest and times, with the X server's own reports, until the window's
// pixels change (DAMAGE) and until its event loop answers a _NET_WM_PING
// sent after that first change (the loop is free for the next key). Also
// the time from start until a 100 MB file is painted and the loop is idle
// (Kib's a median of several starts), and the resident memory with it open. Run under an X server of its own:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/default/bench/window/bench_window
//       --kib build/default/app/kib --gtk build/default/bench/window/peer_gtktextview
//       --stc build/default/bench/window/peer_stc --defaults tests/data/settings/kibparam_defaults.xml
#include "BenchRow.h"
#include "SampleJava.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0, Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - t0).count();
}

struct Options {
    std::string kib, gtk, stc, defaults, work;
    int lines = 2500000;
    int keys = 15;
    int starts = 5; // Kib's; the peers, slow to open the large file, start once
    bool keep = false;
    bool openOnly = false; // only the start and open figures: no keys
};

// ------------------------------------------------------------------ text

// A Java file of classes with javadoc, comments, strings, numbers and tabs.
void WriteJava(const std::string& path, int lines)
{
    const char* const* block = benchsample::kJavaBlock;
    const int n = benchsample::kJavaBlockLines;
    std::string out;
    out.reserve(1 << 22);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::exit(2);
    }
    char buf[256];
    for (int i = 0; i < lines; ++i) {
        if (i % n == 3) {
            std::snprintf(buf, sizeof buf, block[3], i / n);
            out += buf;
        } else {
            out += block[i % n];
        }
        out += '\n';
        if (out.size() > (1u << 22) - 512) {
            std::fwrite(out.data(), 1, out.size(), f);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
}

// The floor of opening: read the file and count its lines.
double ReadAndCountMs(const std::string& path)
{
    auto t0 = Clock::now();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    std::vector<char> buf(1 << 20);
    long lines = 0;
    for (;;) {
        ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n <= 0)
            break;
        const char* p = buf.data();
        const char* end = p + n;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
            ++lines;
            ++p;
        }
    }
    ::close(fd);
    volatile long sink = lines;
    (void)sink;
    return MsSince(t0, Clock::now());
}

long RssKb(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// ------------------------------------------------------------------ X

int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0; // windows come and go while we watch them
}

struct DamageRect {
    Clock::time_point when;
    int x, y, w, h;
};

class CXWatch {
public:
    explicit CXWatch(Display* d) : m_d(d)
    {
        m_root = DefaultRootWindow(d);
        int err = 0;
        if (!XDamageQueryExtension(d, &m_damageEvent, &err)) {
            std::fprintf(stderr, "no DAMAGE extension\n");
            std::exit(2);
        }
        int ev = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(d, &ev, &err, &major, &minor)) {
            std::fprintf(stderr, "no XTEST extension\n");
            std::exit(2);
        }
        m_protocols = XInternAtom(d, "WM_PROTOCOLS", False);
        m_ping = XInternAtom(d, "_NET_WM_PING", False);
        m_pidAtom = XInternAtom(d, "_NET_WM_PID", False);
        m_netName = XInternAtom(d, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(d, "UTF8_STRING", False);
        XSelectInput(d, m_root, SubstructureNotifyMask);
        XSync(d, False);
    }

    // Watches the pixels of a window and of everything inside it.
    void WatchTree(Window w)
    {
        if (!m_damages.count(w)) {
            Damage dmg = XDamageCreate(m_d, w, XDamageReportRawRectangles);
            m_damages[w] = dmg;
        }
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (XQueryTree(m_d, w, &root, &parent, &children, &n)) {
            for (unsigned i = 0; i < n; ++i)
                WatchTree(children[i]);
            if (children)
                XFree(children);
        }
    }

    void Forget()
    {
        for (auto& [w, dmg] : m_damages)
            XDamageDestroy(m_d, dmg);
        m_damages.clear();
        m_target = 0;
        m_created.clear();
        XSync(m_d, False);
        Drain();
    }

    // Reads every event that arrives until the deadline or until done()
    // says so (checked after each batch).
    template <class Done>
    bool PumpUntil(Clock::time_point deadline, Done done)
    {
        for (;;) {
            while (XPending(m_d)) {
                XEvent e;
                XNextEvent(m_d, &e);
                Handle(e);
            }
            if (done())
                return true;
            auto now = Clock::now();
            if (now >= deadline)
                return false;
            int ms = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count()) + 1;
            pollfd p{ConnectionNumber(m_d), POLLIN, 0};
            ::poll(&p, 1, std::min(ms, 20));
        }
    }

    void Drain()
    {
        while (XPending(m_d)) {
            XEvent e;
            XNextEvent(m_d, &e);
            Handle(e);
        }
    }

    void Sleep(int ms)
    {
        PumpUntil(Clock::now() + std::chrono::milliseconds(ms), [] { return false; });
    }

    // The mapped top-level window of pid whose title holds name.
    Window FindTopLevel(pid_t pid, const std::string& name)
    {
        for (Window w : m_created) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(m_d, w, &a) || a.map_state != IsViewable)
                continue;
            if (WindowPid(w) != pid)
                continue;
            if (Title(w).find(name) == std::string::npos)
                continue;
            return w;
        }
        return 0;
    }

    long WindowPid(Window w)
    {
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(m_d, w, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
                Success &&
            data && n == 1 && format == 32)
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        if (data)
            XFree(data);
        return pid;
    }

    std::string Title(Window w)
    {
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        std::string s;
        if (XGetWindowProperty(m_d, w, m_netName, 0, 1024, False, m_utf8, &type, &format, &n, &after, &data) ==
                Success &&
            data)
            s.assign(reinterpret_cast<char*>(data), n);
        if (data)
            XFree(data);
        if (s.empty()) {
            char* name = nullptr;
            if (XFetchName(m_d, w, &name) && name) {
                s = name;
                XFree(name);
            }
        }
        return s;
    }

    void SetTarget(Window w) { m_target = w; }
    Window Target() const { return m_target; }

    // Sends a ping to the target; true once it answered within the deadline.
    bool Ping(Clock::time_point deadline, Clock::time_point* answered = nullptr)
    {
        const long serial = ++m_pingSerial;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = m_target;
        e.xclient.message_type = m_protocols;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(m_ping);
        e.xclient.data.l[1] = serial;
        e.xclient.data.l[2] = static_cast<long>(m_target);
        XSendEvent(m_d, m_target, False, NoEventMask, &e);
        XFlush(m_d);
        bool ok = PumpUntil(deadline, [&] { return m_pongSerial >= serial; });
        if (ok && answered)
            *answered = m_pongTime;
        return ok;
    }

    // Damage seen since the last call.
    std::vector<DamageRect> TakeDamage()
    {
        std::vector<DamageRect> out;
        out.swap(m_seen);
        return out;
    }
    bool HasDamage(size_t from) const
    {
        for (size_t i = from; i < m_seen.size(); ++i)
            if (Counts(m_seen[i]))
                return true;
        return false;
    }
    size_t DamageCount() const { return m_seen.size(); }
    const std::vector<DamageRect>& Seen() const { return m_seen; }

    // A caret of two pixels' width blinking is not an answer to a key.
    static bool Counts(const DamageRect& r) { return r.w > 3; }

    void Key(KeySym sym, bool press)
    {
        XTestFakeKeyEvent(m_d, XKeysymToKeycode(m_d, sym), press ? True : False, 0);
    }

    void Focus()
    {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_d, m_target, &a))
            return;
        XRaiseWindow(m_d, m_target);
        XWarpPointer(m_d, None, m_target, 0, 0, 0, 0, a.width / 2, a.height / 2);
        XSetInputFocus(m_d, m_target, RevertToParent, CurrentTime);
        XSync(m_d, False);
    }

    void Geometry(int& w, int& h)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(m_d, m_target, &a);
        w = a.width;
        h = a.height;
    }

    Display* D() { return m_d; }

private:
    void Handle(XEvent& e)
    {
        if (e.type == m_damageEvent + XDamageNotify) {
            auto* de = reinterpret_cast<XDamageNotifyEvent*>(&e);
            if (m_target && m_damages.count(de->drawable))
                m_seen.push_back({Clock::now(), de->area.x, de->area.y, de->area.width, de->area.height});
            else if (!m_target)
                m_early.push_back({Clock::now(), de->area.x, de->area.y, de->area.width, de->area.height});
            return;
        }
        switch (e.type) {
        case CreateNotify:
            if (e.xcreatewindow.parent == m_root) {
                m_created.push_back(e.xcreatewindow.window);
                // From its creation on, so that the first paint is seen.
                WatchTree(e.xcreatewindow.window);
            }
            break;
        case DestroyNotify:
            m_created.erase(std::remove(m_created.begin(), m_created.end(), e.xdestroywindow.window),
                            m_created.end());
            m_damages.erase(e.xdestroywindow.window);
            break;
        case ClientMessage:
            if (e.xclient.message_type == m_protocols && static_cast<Atom>(e.xclient.data.l[0]) == m_ping &&
                e.xclient.data.l[1] > m_pongSerial) {
                m_pongSerial = e.xclient.data.l[1];
                m_pongTime = Clock::now();
            }
            break;
        default:
            break;
        }
    }

public:
    // Damage that arrived before the target was known (the first paint).
    std::vector<DamageRect> m_early;
    std::map<Window, Clock::time_point> m_mapped;

private:
    Display* m_d;
    Window m_root = 0;
    Window m_target = 0;
    int m_damageEvent = 0;
    Atom m_protocols = 0, m_ping = 0, m_pidAtom = 0, m_netName = 0, m_utf8 = 0;
    std::map<Window, Damage> m_damages;
    std::vector<Window> m_created;
    std::vector<DamageRect> m_seen;
    long m_pingSerial = 0;
    long m_pongSerial = 0;
    Clock::time_point m_pongTime;
};

// ------------------------------------------------------------------ runs

struct Stats {
    std::vector<double> v;
    void Add(double x) { v.push_back(x); }
    bool Empty() const { return v.empty(); }
    double Min() const { return v.empty() ? -1 : *std::min_element(v.begin(), v.end()); }
    double Median() const
    {
        if (v.empty())
            return -1;
        std::vector<double> s(v);
        std::sort(s.begin(), s.end());
        return s.size() % 2 ? s[s.size() / 2] : (s[s.size() / 2 - 1] + s[s.size() / 2]) / 2;
    }
};

struct KeyStats {
    Stats pixels;     // key → first damage
    // key → the largest damage of the answer: for a page move, the new page.
    // A widget may first repaint a line strip and the page a frame later.
    Stats whole;
    Stats loop;       // key → ping answered after the first damage
    Stats area;       // damaged pixels per key (thousands)
    Stats paints;     // separate bursts of damage per key
    int missed = 0;   // keys without any damage in time
};

struct AppResult {
    std::string name;
    bool ran = false;
    std::string why; // when not
    double openMs = -1, mapMs = -1;
    double startMs = -1; // painted and idle with a small file
    Stats starts, maps, opens; // each start's figures, of which the above are medians
    long rssBaseKb = -1, rssFileKb = -1;
    KeyStats type, back, pageDown, ctrlEnd;
    double ctrlEndFirst = -1;
    int width = 0, height = 0;
};

class CApp {
public:
    CApp(CXWatch& x, std::string name, std::vector<std::string> argv)
        : m_x(x), m_name(std::move(name)), m_argv(std::move(argv))
    {
    }
    ~CApp() { Stop(); }

    bool Start(const std::string& file, const std::string& cwd, Clock::time_point& t0)
    {
        std::vector<std::string> args = m_argv;
        args.push_back(file);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
        const std::string log = cwd + "/" + m_name + ".log";
        posix_spawn_file_actions_addopen(&fa, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&fa, 1, 2);
        t0 = Clock::now();
        int rc = posix_spawn(&m_pid, argv[0], &fa, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        if (rc != 0) {
            m_pid = -1;
            return false;
        }
        return true;
    }

    void Stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
        m_x.Forget();
    }

    pid_t Pid() const { return m_pid; }

    // Waits for the window, then until its loop answers and no pixels
    // change for a while; returns the time of the last change after t0.
    bool WaitPainted(const std::string& title, Clock::time_point t0, double& mapMs, double& paintedMs, int timeoutS)
    {
        const auto deadline = t0 + std::chrono::seconds(timeoutS);
        Window w = 0;
        Clock::time_point mapped;
        if (!m_x.PumpUntil(deadline, [&] {
                w = m_x.FindTopLevel(m_pid, title);
                return w != 0 || !Alive();
            }) ||
            !w)
            return false;
        mapped = Clock::now();
        m_x.SetTarget(w);
        m_x.WatchTree(w);
        Clock::time_point last = mapped;
        for (auto& r : m_x.m_early)
            if (CXWatch::Counts(r))
                last = std::max(last, r.when);
        m_x.m_early.clear();
        for (;;) {
            if (!m_x.Ping(deadline))
                return false;
            m_x.WatchTree(w);
            size_t from = m_x.DamageCount();
            m_x.Sleep(400);
            bool more = false;
            for (size_t i = from; i < m_x.Seen().size(); ++i)
                if (CXWatch::Counts(m_x.Seen()[i])) {
                    last = std::max(last, m_x.Seen()[i].when);
                    more = true;
                }
            for (auto& r : m_x.TakeDamage())
                if (CXWatch::Counts(r))
                    last = std::max(last, r.when);
            if (!more)
                break;
        }
        mapMs = MsSince(t0, mapped);
        paintedMs = MsSince(t0, last);
        return true;
    }

    bool Alive() const { return m_pid > 0 && ::kill(m_pid, 0) == 0 && !Reaped(); }

    // One key (with modifiers held around it), timed until the first change
    // of pixels and until the loop answers after it.
    void Time(KeyStats& stats, const std::vector<KeySym>& mods, KeySym key)
    {
        m_x.Drain();
        m_x.TakeDamage();
        auto t0 = Clock::now();
        for (KeySym m : mods)
            m_x.Key(m, true);
        m_x.Key(key, true);
        m_x.Key(key, false);
        for (auto it = mods.rbegin(); it != mods.rend(); ++it)
            m_x.Key(*it, false);
        XFlush(m_x.D());
        const auto deadline = t0 + std::chrono::seconds(20);
        if (!m_x.PumpUntil(deadline, [&] { return m_x.HasDamage(0); })) {
            ++stats.missed;
            return;
        }
        Clock::time_point first;
        for (auto& r : m_x.Seen())
            if (CXWatch::Counts(r)) {
                first = r.when;
                break;
            }
        Clock::time_point answered;
        if (!m_x.Ping(deadline, &answered)) {
            ++stats.missed;
            return;
        }
        // A second paint (an idle handler's, the status bar's, the next
        // frame's) shows as a later burst; wait past a frame or two for it.
        m_x.Sleep(50);
        stats.pixels.Add(MsSince(t0, first));
        stats.loop.Add(MsSince(t0, answered));
        double area = 0, largest = -1;
        int bursts = 0;
        Clock::time_point prev, wholeAt = first;
        static const bool trace = std::getenv("KIB_WINDOW_BENCH_TRACE") != nullptr;
        if (trace) // the clock is the system's steady one: comparable with the program's own marks
            std::printf("    key at %lld ns: pixels %.3f ms, loop %.3f ms\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(t0.time_since_epoch()).count()),
                        MsSince(t0, first), MsSince(t0, answered));
        for (auto& r : m_x.TakeDamage()) {
            if (trace)
                std::printf("    damage %+.2f ms %dx%d+%d+%d\n", MsSince(t0, r.when), r.w, r.h, r.x, r.y);
            const double a = static_cast<double>(r.w) * r.h;
            area += a;
            if (a > largest) {
                largest = a;
                wholeAt = r.when;
            }
            if (bursts == 0 || MsSince(prev, r.when) > 2)
                ++bursts;
            prev = r.when;
        }
        stats.whole.Add(MsSince(t0, wholeAt));
        stats.area.Add(area / 1000);
        stats.paints.Add(bursts);
    }

private:
    bool Reaped() const
    {
        int status = 0;
        return ::waitpid(m_pid, &status, WNOHANG) == m_pid;
    }

    CXWatch& m_x;
    std::string m_name;
    std::vector<std::string> m_argv;
    pid_t m_pid = -1;
};

void Keys(CApp& app, CXWatch& x, AppResult& r, int keys)
{
    x.Focus();
    x.Sleep(300);
    const int gapMs = 60; // past the frame clock's 16.7 ms, short of a caret blink
    for (int i = 0; i < keys; ++i) {
        app.Time(r.type, {}, XK_x);
        x.Sleep(gapMs);
        app.Time(r.back, {}, XK_BackSpace);
        x.Sleep(gapMs);
    }
    for (int i = 0; i < keys; ++i) {
        app.Time(r.pageDown, {}, XK_Next);
        x.Sleep(gapMs);
    }
    KeyStats home;
    for (int i = 0; i < std::max(3, keys / 3); ++i) {
        app.Time(home, {XK_Control_L}, XK_Home);
        x.Sleep(200);
        KeyStats one;
        app.Time(one, {XK_Control_L}, XK_End);
        if (i == 0 && !one.whole.Empty())
            r.ctrlEndFirst = one.whole.v[0];
        for (auto s : {&KeyStats::pixels, &KeyStats::whole, &KeyStats::loop, &KeyStats::area, &KeyStats::paints})
            for (double v : (one.*s).v)
                (r.ctrlEnd.*s).Add(v);
        r.ctrlEnd.missed += one.missed;
        x.Sleep(200);
    }
}

AppResult NotRun(const std::string& name)
{
    AppResult r;
    r.name = name;
    r.why = "not given";
    return r;
}

AppResult RunApp(CXWatch& x, const std::string& name, const std::vector<std::string>& argv,
                 const std::string& titleSmall, const std::string& small, const std::string& titleBig,
                 const std::string& big, const std::string& cwd, int keys, int starts)
{
    AppResult r;
    r.name = name;
    if (argv.empty() || ::access(argv[0].c_str(), X_OK) != 0) {
        r.why = argv.empty() ? "not given" : "missing: " + (argv.empty() ? std::string() : argv[0]);
        return r;
    }
    // A start varies by tens of milliseconds from one to the next, so the
    // figures are medians of several starts, a small and a large one in
    // turn. The first start is not counted: it also fills caches (fonts,
    // settings) that a user's program finds filled.
    auto start = [&](CApp& app, bool large, double& mapMs, double& paintMs) {
        Clock::time_point t0;
        if (app.Start(large ? big : small, cwd, t0) &&
            app.WaitPainted(large ? titleBig : titleSmall, t0, mapMs, paintMs, large ? 300 : 60))
            return true;
        r.why = large ? "no window for the large file" : "no window for the small file";
        return false;
    };
    auto startSmall = [&](bool counted) {
        CApp app(x, name, argv);
        double mapMs = 0, paintMs = 0;
        if (!start(app, false, mapMs, paintMs))
            return false;
        x.Sleep(500);
        r.rssBaseKb = RssKb(app.Pid());
        if (counted)
            r.starts.Add(paintMs);
        return true;
    };
    if (!startSmall(false))
        return r;
    for (int round = 0; round < starts; ++round) {
        if (!startSmall(true))
            return r;
        CApp app(x, name, argv);
        double mapMs = 0, openMs = 0;
        if (!start(app, true, mapMs, openMs))
            return r;
        r.maps.Add(mapMs);
        r.opens.Add(openMs);
        if (round + 1 < starts)
            continue;
        x.Sleep(500);
        r.rssFileKb = RssKb(app.Pid());
        x.Geometry(r.width, r.height);
        if (keys > 0)
            Keys(app, x, r, keys);
    }
    r.startMs = r.starts.Median();
    r.mapMs = r.maps.Median();
    r.openMs = r.opens.Median();
    r.ran = true;
    return r;
}

// ------------------------------------------------------------------ report

std::string Fmt(double v, const char* f = "%.2f")
{
    if (v < 0)
        return "-";
    char b[64];
    std::snprintf(b, sizeof b, f, v);
    return b;
}

void PrintApp(const AppResult& r)
{
    if (!r.ran) {
        std::printf("%-8s missing (%s)\n", r.name.c_str(), r.why.c_str());
        return;
    }
    std::printf("%-8s window %dx%d, mapped %.0f ms, painted and idle %.0f ms (%.0f ms with a small file), "
                "RSS %ld MB (%ld MB with the small file)",
                r.name.c_str(), r.width, r.height, r.mapMs, r.openMs, r.startMs, r.rssFileKb / 1024,
                r.rssBaseKb / 1024);
    if (r.opens.v.size() > 1)
        std::printf("; medians of %zu starts, large file %.0f-%.0f ms, small %.0f-%.0f ms", r.opens.v.size(),
                    r.opens.Min(), *std::max_element(r.opens.v.begin(), r.opens.v.end()), r.starts.Min(),
                    *std::max_element(r.starts.v.begin(), r.starts.v.end()));
    std::printf("\n");
    auto row = [](const char* what, const KeyStats& k) {
        std::printf("  %-12s pixels min/median %6s / %6s ms   largest repaint %6s / %6s ms   loop answers %6s / %6s ms"
                    "   kpx/key %7s  paints/key %s%s\n",
                    what, Fmt(k.pixels.Min()).c_str(), Fmt(k.pixels.Median()).c_str(), Fmt(k.whole.Min()).c_str(),
                    Fmt(k.whole.Median()).c_str(), Fmt(k.loop.Min()).c_str(),
                    Fmt(k.loop.Median()).c_str(), Fmt(k.area.Median(), "%.1f").c_str(),
                    Fmt(k.paints.Median(), "%.0f").c_str(),
                    k.missed ? ("   (" + std::to_string(k.missed) + " keys without a repaint)").c_str() : "");
    };
    row("type x", r.type);
    row("Backspace", r.back);
    row("Page Down", r.pageDown);
    row("Ctrl+End", r.ctrlEnd);
    std::printf("  %-12s first Ctrl+End from the top: %s ms\n", "", Fmt(r.ctrlEndFirst).c_str());
}

void Row(const std::string& figure, double value, const std::string& unit, const std::string& floorName,
         double floor, double ratioTarget, double absTarget, const std::string& targetText)
{
    benchrow::Row(figure, value, unit, floorName, floor, {ratioTarget, absTarget, false, targetText});
}

void Report(const AppResult& kib, const AppResult& gtk, const AppResult& stc, double readMs, double fileMb)
{
    auto faster = [&](auto get, std::string& who) {
        double g = gtk.ran ? get(gtk) : -1, s = stc.ran ? get(stc) : -1;
        if (g < 0 && s < 0) {
            who = "faster peer";
            return -1.0;
        }
        if (s < 0 || (g >= 0 && g <= s)) {
            who = "GtkTextView";
            return g;
        }
        who = "wxSTC";
        return s;
    };
    auto med = [](const KeyStats AppResult::*k, Stats KeyStats::*s) {
        return [k, s](const AppResult& r) { return ((r.*k).*s).Median(); };
    };
    auto kv = [&](auto get) { return kib.ran ? get(kib) : -1.0; };
    std::string who;
    struct Key {
        const char* name;
        KeyStats AppResult::*k;
        double abs;
    };
    for (const Key& k : {Key{"typing a character", &AppResult::type, 1.5}, Key{"Backspace", &AppResult::back, 1.5}}) {
        double p = faster(med(k.k, &KeyStats::pixels), who);
        Row(std::string("window: ") + k.name + ", key to pixels (median)", kv(med(k.k, &KeyStats::pixels)), "ms", who,
            p, 1.0, k.abs, "<= 1.0x faster peer, < 1.5 ms");
        p = faster(med(k.k, &KeyStats::loop), who);
        Row(std::string("window: ") + k.name + ", key to loop answers (median)", kv(med(k.k, &KeyStats::loop)), "ms",
            who, p, 1.0, 0, "<= 1.0x faster peer");
    }
    // A page move is timed until its largest repaint, the new page: a peer
    // may first repaint only the caret's line.
    double p = faster(med(&AppResult::pageDown, &KeyStats::whole), who);
    Row("window: Page Down, key to the new page (median)", kv(med(&AppResult::pageDown, &KeyStats::whole)), "ms",
        who, p, 0, 5.0, "<= 5 ms");
    p = faster(med(&AppResult::ctrlEnd, &KeyStats::whole), who);
    Row("window: Ctrl+End on 2.5 M lines, key to the new page (median)", kv(med(&AppResult::ctrlEnd, &KeyStats::whole)),
        "ms", who, p, 1.0, 0, "<= 1.0x faster peer");
    // The first jump colours every line on the way; of the peers only the
    // styled text control colours too.
    Row("window: first Ctrl+End on 2.5 M lines (colouring walk)", kib.ran ? kib.ctrlEndFirst : -1, "ms",
        "wxSTC (lexes too)", stc.ran ? stc.ctrlEndFirst : -1, 1.0, 0, "<= 1.0x wxSTC");
    char fig[128];
    std::snprintf(fig, sizeof fig, "window: start with %.0f MB until painted and idle", fileMb);
    p = faster([](const AppResult& r) { return r.openMs; }, who);
    Row(fig, kib.ran ? kib.openMs : -1, "ms", who, p, 0, 0, "none, compared");
    // What the file adds to the program's own start (a tiny file).
    auto openCost = [](const AppResult& r) { return r.openMs >= 0 && r.startMs >= 0 ? r.openMs - r.startMs : -1; };
    std::snprintf(fig, sizeof fig, "window: open %.0f MB, above the start with a tiny file", fileMb);
    Row(fig, kib.ran ? openCost(kib) : -1, "ms", "read + line count", readMs, 4.0, 0, "<= 4x floor");
    p = faster(openCost, who);
    Row(std::string(fig) + " (peer)", kib.ran ? openCost(kib) : -1, "ms", who, p, 0, 0, "none, compared");
    const double above = kib.ran ? (kib.rssFileKb - kib.rssBaseKb) / 1024.0 : -1;
    Row("window: RSS with the file open, above Kib without it", above, "MB", "file size", fileMb, 2.0, 0,
        "<= 2x file");
    p = faster([](const AppResult& r) { return (r.rssFileKb - r.rssBaseKb) / 1024.0; }, who);
    Row("window: RSS above baseline (peer)", above, "MB", who, p, 0, 0, "none, compared");
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: bench_window --kib PATH [--gtk PATH] [--stc PATH] --defaults kibparam_defaults.xml\n"
                 "                    [--lines N] [--keys N] [--starts N] [--work DIR] [--keep] [--open-only]\n"
                 "  --open-only  time only the start and the open of the large file (no keys)\n");
    std::exit(2);
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size())
        s.replace(p, from.size(), to);
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage();
            return argv[++i];
        };
        if (a == "--kib")
            o.kib = next();
        else if (a == "--gtk")
            o.gtk = next();
        else if (a == "--stc")
            o.stc = next();
        else if (a == "--defaults")
            o.defaults = next();
        else if (a == "--lines")
            o.lines = std::atoi(next().c_str());
        else if (a == "--starts")
            o.starts = std::max(1, std::atoi(next().c_str()));
        else if (a == "--keys")
            o.keys = std::atoi(next().c_str());
        else if (a == "--work")
            o.work = next();
        else if (a == "--keep")
            o.keep = true;
        else if (a == "--open-only")
            o.openOnly = true;
        else
            Usage();
    }
    if (o.kib.empty() || o.defaults.empty())
        Usage();
    if (o.openOnly)
        o.keys = 0;
    // The programs start in the work folder: their paths must not be relative.
    for (std::string* path : {&o.gtk, &o.stc}) {
        char abs[4096];
        if (!path->empty() && ::realpath(path->c_str(), abs))
            *path = abs;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    char tmpl[] = "/tmp/kib-window-bench.XXXXXX";
    std::string work = o.work.empty() ? std::string(::mkdtemp(tmpl)) : o.work;
    ::mkdir(work.c_str(), 0755);
    const std::string prog = work + "/prog", cfg = work + "/cfg";
    ::mkdir(prog.c_str(), 0755);
    ::mkdir(cfg.c_str(), 0755);
    ::mkdir((cfg + "/gtk-3.0").c_str(), 0755);
    // No blinking caret in the GTK peer; Kib's own caret is told apart by
    // its width.
    std::ofstream(cfg + "/gtk-3.0/settings.ini") << "[Settings]\ngtk-cursor-blink=false\n";
    ::setenv("XDG_CONFIG_HOME", cfg.c_str(), 1);
    // Kib from a program folder of its own (its settings: no splash, no
    // files reopened), like the end-to-end tests start it.
    std::string kibLink = prog + "/kib";
    char real[4096];
    if (!::realpath(o.kib.c_str(), real)) {
        std::fprintf(stderr, "no kib at %s\n", o.kib.c_str());
        return 2;
    }
    ::unlink(kibLink.c_str());
    if (::symlink(real, kibLink.c_str()) != 0) {
        std::perror("symlink");
        return 2;
    }
    std::string params = Slurp(o.defaults);
    ReplaceAll(params, "<SHOWSPLASH>1<", "<SHOWSPLASH>0<");
    ReplaceAll(params, "<REOPENFILES>1<", "<REOPENFILES>0<");
    std::ofstream(prog + "/kibparam.xml", std::ios::binary) << params;

    const std::string small = work + "/Small.java", big = work + "/Large.java";
    WriteJava(small, 40);
    WriteJava(big, o.lines);
    struct stat st{};
    ::stat(big.c_str(), &st);
    const double fileMb = static_cast<double>(st.st_size) / (1024.0 * 1024.0);
    Stats read;
    for (int i = 0; i < 3; ++i)
        read.Add(ReadAndCountMs(big));
    std::printf("file: %d lines, %.1f MB; read + line count min/median %.1f / %.1f ms\n", o.lines, fileMb,
                read.Min(), read.Median());
    std::fflush(stdout);

    CXWatch x(d);
    AppResult kib = RunApp(x, "kib", {kibLink}, "Small.java", small, "Large.java", big, work, o.keys, o.starts);
    PrintApp(kib);
    std::fflush(stdout);
    const std::string size = std::to_string(kib.width > 0 ? kib.width : 1024) + "x" +
                             std::to_string(kib.height > 0 ? kib.height : 768);
    AppResult gtk = o.gtk.empty() ? NotRun("GtkTextView")
                                  : RunApp(x, "GtkTextView", {o.gtk, "--size", size}, "Small.java", small,
                                           "Large.java", big, work, o.keys, 1);
    gtk.name = "GtkTextView";
    PrintApp(gtk);
    std::fflush(stdout);
    AppResult stc = o.stc.empty() ? NotRun("wxSTC")
                                  : RunApp(x, "wxSTC", {o.stc, "--size", size}, "Small.java", small, "Large.java",
                                           big, work, o.keys, 1);
    stc.name = "wxSTC";
    PrintApp(stc);
    Report(kib, gtk, stc, read.Median(), fileMb);
    XCloseDisplay(d);
    if (!o.keep && o.work.empty())
        std::system(("rm -rf '" + work + "'").c_str());
    return kib.ran ? 0 : 1;
}
