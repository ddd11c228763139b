#include "runtime/lifecycle.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace dove::lifecycle {
namespace {

std::atomic<bool> g_active{false};
std::atomic<bool> g_shuttingDown{false};
std::mutex g_lock;

std::vector<void (*)()>& Finalisers() {
    static std::vector<void (*)()> list;
    return list;
}

}  // namespace

void Start() {
    g_active = true;
    g_shuttingDown = false;
}

void BeginShutdown() { g_shuttingDown = true; }
bool ShuttingDown() { return g_shuttingDown; }

bool Active() { return g_active; }

void AddFinaliser(void (*fn)()) {
    std::lock_guard<std::mutex> hold(g_lock);
    Finalisers().push_back(fn);
}

// Finalisers are taken out of the list before they run, so a finaliser that
// reaches Shutdown again (a fatal error while closing a file) cannot loop.
void Shutdown() {
    BeginShutdown();
    for (;;) {
        void (*fn)() = nullptr;
        {
            std::lock_guard<std::mutex> hold(g_lock);
            if (Finalisers().empty()) break;
            fn = Finalisers().back();
            Finalisers().pop_back();
        }
        fn();
    }
    g_active = false;
}

}  // namespace dove::lifecycle
