#include "power/wake_task_win.h"

#include <objbase.h>
#include <oleauto.h>
#include <sddl.h>
#include <taskschd.h>

#include "common/handles_win.h"
#include "power/wtimer.h"

namespace zelvar {
namespace {

// A COM interface pointer released when it goes.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() { return &p_; }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    explicit Bstr(const std::wstring& text) : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return b_; }

private:
    BSTR b_;
};

class TaskSchedulerRegistrar : public WakeTaskRegistrar {
public:
    Outcome Register(const std::wstring& name, const std::wstring& xml) override {
        ComPtr<ITaskFolder> folder;
        if (Outcome o = RootFolder(folder); FAILED(o.hr)) return o;
        const Bstr bname(name), bxml(xml);
        if (!bname.get() || !bxml.get()) return {E_OUTOFMEMORY, "register"};
        VARIANT none{};  // VT_EMPTY: the user, no password, no security descriptor
        ComPtr<IRegisteredTask> task;
        const HRESULT hr = folder->RegisterTask(bname.get(), bxml.get(), TASK_CREATE_OR_UPDATE, none, none,
                                                TASK_LOGON_INTERACTIVE_TOKEN, none, task.put());
        return {hr, "register"};
    }
    Outcome Remove(const std::wstring& name) override {
        ComPtr<ITaskFolder> folder;
        if (Outcome o = RootFolder(folder); FAILED(o.hr)) return o;
        const Bstr bname(name);
        if (!bname.get()) return {E_OUTOFMEMORY, "remove"};
        HRESULT hr = folder->DeleteTask(bname.get(), 0);
        if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)) hr = S_OK;
        return {hr, "remove"};
    }

private:
    Outcome RootFolder(ComPtr<ITaskFolder>& folder) {
        if (!service_.get()) {
            HRESULT hr = CoCreateInstance(__uuidof(TaskScheduler), nullptr, CLSCTX_INPROC_SERVER,
                                          __uuidof(ITaskService), reinterpret_cast<void**>(service_.put()));
            if (FAILED(hr)) return {hr, "service"};
        }
        VARIANT none{};
        // Connected anew each time: the service may have been restarted since.
        HRESULT hr = service_->Connect(none, none, none, none);
        if (FAILED(hr)) return {hr, "connect"};
        const Bstr root(L"\\");
        hr = service_->GetFolder(root.get(), folder.put());
        return {hr, "folder"};
    }
    ComPtr<ITaskService> service_;
};

// What the one keeper of the program last heard, for the wake probe.
std::optional<bool> heldNow;

}  // namespace

std::optional<bool> WakeTaskHeldNow() { return heldNow; }

void WakeTaskKeeper::SetHeld(std::optional<bool> held) {
    held_ = held;
    heldNow = held;
}

std::unique_ptr<WakeTaskRegistrar> MakeTaskSchedulerRegistrar() { return std::make_unique<TaskSchedulerRegistrar>(); }

WakeTaskMoment WakeTaskMomentAt(TDateTime local) {
    const std::optional<std::int64_t> seconds = LocalSecondsOf(local);
    if (!seconds) return {local, std::nullopt};
    return WakeTaskMomentOf(local, *seconds, UserZoneOffsets());
}

std::wstring CurrentUserSid() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    UniqueHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return {};
    std::string buffer(size, '\0');
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(user->User.Sid, &text)) return {};
    std::wstring sid = text;
    LocalFree(text);
    return sid;
}

bool RemoveWakeTaskNow() {
    const std::wstring sid = CurrentUserSid();
    if (sid.empty()) return false;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(com)) return false;
    const bool removed = SUCCEEDED(CurrentWakeTaskRegistrar()->Remove(WakeTaskName(sid)).hr);
    CoUninitialize();
    return removed;
}

WakeTaskKeeper::~WakeTaskKeeper() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (worker_.joinable()) worker_.join();
}

void WakeTaskKeeper::Attach(HWND window, UINT doneMessage) {
    window_ = window;
    doneMessage_ = doneMessage;
}

void WakeTaskKeeper::Keep(const WakeTaskPlan& plan, const WakeTaskIdentity& who, TDateTime today) {
    if (!window_) return;
    Request request{WakeTaskName(who.userSid), plan.Empty() ? std::wstring() : WakeTaskXml(plan, who, today)};
    // The same again is asked only after it failed. The first request of a
    // run always goes, a removal too: an earlier run may have left a task
    // for moments no longer planned.
    if (lastAsked_ && lastAsked_->name == request.name && lastAsked_->xml == request.xml && held_ != false) return;
    lastAsked_ = request;
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(request);
    }
    wake_.notify_one();
    if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
}

void WakeTaskKeeper::Run() {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::unique_ptr<WakeTaskRegistrar> registrar = CurrentWakeTaskRegistrar();
    for (;;) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return pending_.has_value() || stopping_; });
            if (!pending_) break;
            request = std::move(*pending_);
            pending_.reset();
        }
        auto done = std::make_unique<Done>();
        done->removal = request.xml.empty();
        if (FAILED(com) && com != RPC_E_CHANGED_MODE) done->outcome = {com, "com"};
        else if (done->removal) done->outcome = registrar->Remove(request.name);
        else done->outcome = registrar->Register(request.name, request.xml);
        done->xml = std::move(request.xml);
        Done* raw = done.release();
        if (!PostMessageW(window_, doneMessage_, 0, reinterpret_cast<LPARAM>(raw))) delete raw;
    }
    registrar.reset();
    if (SUCCEEDED(com)) CoUninitialize();
}

std::unique_ptr<WakeTaskKeeper::Done> WakeTaskKeeper::TakeDone(LPARAM lp) {
    std::unique_ptr<Done> done(reinterpret_cast<Done*>(lp));
    if (!done) return done;
    const bool ok = SUCCEEDED(done->outcome.hr);
    // An outcome of an older request than the last asked still tells the
    // state of the task Windows holds now only for the last one.
    const bool last = lastAsked_ && lastAsked_->xml == done->xml;
    if (!last) return done;
    if (done->removal) SetHeld(ok ? std::nullopt : std::optional<bool>(false));
    else SetHeld(ok);
    return done;
}

}  // namespace zelvar
