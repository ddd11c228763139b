#include "files/object/file_dispatch.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "runtime/errors/error_record.h"
#include "files/object/file_codes.h"

namespace dove::files {

namespace {

using TriggerList = std::vector<Trigger*>;

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

// How many triggers are registered: while there are none, statements do not
// touch the registry's lock at all.
std::atomic<int> g_triggerCount{0};

std::map<const FileObject*, TriggerList>& Registry() {
    static std::map<const FileObject*, TriggerList> registry;
    return registry;
}

bool BypassesTriggers(int32_t op) {
    return op == kQueryKey || op == kQueryView || op == kInternal87 || op == kInternal91 ||
           op == kInternal94 || op == kCountRecords || op == kSqlCallback;
}

// The file whose triggers apply: a view's primary file.
FileObject* TriggerOwner(FileObject* file) {
    if (file->kind == kKindView && file->primary) return file->primary;
    return file;
}

TriggerList LookUp(const FileObject* file) {
    std::lock_guard<std::mutex> hold(RegistryLock());
    auto it = Registry().find(file);
    if (it == Registry().end()) return {};
    return it->second;
}

OperationContext MakeContext(int32_t op, FileObject* file, const OpArgs* args) {
    OperationContext ctx;
    ctx.op = op;
    ctx.file = file;
    if (args) {
        ctx.args = *args;
        ctx.text.assign(args->text.data(), args->text.size());
        ctx.args.text = ctx.text;
    }
    return ctx;
}

// One statement's bookkeeping of trigger answers.
struct TriggerRun {
    FileObject* file;
    bool vetoed = false;
    bool posted = false;

    void Refuse(const char* text, const char* code) {
        if (posted) return;
        posted = true;
        err::Post(100);
        err::PostFileError(code, text);
        if (file->kind == kKindFile) err::SetFile(file);
    }

    void Ask(const TriggerList& list, const OperationContext& ctx, bool before) {
        for (Trigger* trigger : list) {
            if (!trigger) continue;
            char text[kTriggerTextSize] = {};
            char code[kTriggerCodeSize] = {};
            bool go = before ? trigger->Before(ctx, text, code) : trigger->After(ctx, text, code);
            text[kTriggerTextSize - 1] = 0;
            code[kTriggerCodeSize - 1] = 0;
            if (go) continue;
            Refuse(text, code);
            if (before) {
                vetoed = true;
                return;
            }
        }
    }
};

int32_t RunWithTriggers(int32_t op, FileObject* file, const OpArgs* args, const TriggerList& list) {
    OperationContext ctx = MakeContext(op, file, args);
    TriggerList second;
    OperationContext secondCtx;
    FileObject* owner = TriggerOwner(file);
    if (owner != file && file->kind == kKindView) {
        // A view whose own object has triggers too: both lists are asked.
        second = LookUp(file);
        secondCtx = MakeContext(op, file, args);
    }
    TriggerRun run{file};
    run.Ask(list, ctx, true);
    if (!run.vetoed && !second.empty()) run.Ask(second, secondCtx, true);
    int32_t result = 0;
    if (!run.vetoed) result = file->driver ? file->driver(op, file, args) : 0;
    run.Ask(list, ctx, false);
    if (!second.empty()) run.Ask(second, secondCtx, false);
    return result;
}

}  // namespace

void AddTrigger(FileObject* file, Trigger* trigger) {
    std::lock_guard<std::mutex> hold(RegistryLock());
    Registry()[file].push_back(trigger);
    ++g_triggerCount;
}

void RemoveTrigger(FileObject* file, Trigger* trigger) {
    std::lock_guard<std::mutex> hold(RegistryLock());
    auto it = Registry().find(file);
    if (it == Registry().end()) return;
    TriggerList& list = it->second;
    size_t before = list.size();
    list.erase(std::remove(list.begin(), list.end(), trigger), list.end());
    g_triggerCount -= static_cast<int>(before - list.size());
    if (list.empty()) Registry().erase(it);
}

int32_t Dispatch(int32_t op, FileObject* file, const OpArgs* args) {
    static const OpArgs kNoArgs;
    if (!args) args = &kNoArgs;
    if (file->pendingHook) {
        auto hook = file->pendingHook;
        file->pendingHook = nullptr;
        hook(file);
    }
    if (!file->driver) return 0;
    if (BypassesTriggers(op) || g_triggerCount.load() == 0) return file->driver(op, file, args);
    TriggerList list = LookUp(TriggerOwner(file));
    if (list.empty()) return file->driver(op, file, args);
    return RunWithTriggers(op, file, args, list);
}

}  // namespace dove::files
