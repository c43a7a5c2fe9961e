// The interfaces between a host IDE and its add-ins: the reference-counted base,
// the expert, the add-in notifier, the host's tool services and the add-in's
// exported entry point. Headers only; a host and an add-in both include this.
//
// The host calls these objects through their tables of virtual operations by
// position, so each class holds exactly the operations below, in this order,
// and none has a virtual destructor: an object is destroyed by its own
// Release when the count reaches 0.
//
// The host is a Qt 6 Widgets program. Its QApplication exists before the entry
// point runs and its event loop runs on the user-interface thread; the host
// calls every operation here on that thread, and the add-in's forms, timers
// and window messages live in that same application.
//
// Failures: the entry point and TIAddInNotifier::Notify may let a failure
// leave as a C++ exception derived from std::exception, so a host catches
// around both. The expert's operations catch their own failures and hand the
// message to TIToolServices::ReportError instead.
//
// An add-in keeps its settings in $XDG_CONFIG_HOME/wingtucker (by default
// ~/.config/wingtucker); a host or a test chooses that place through
// XDG_CONFIG_HOME.
#pragma once

#include <cstdint>

namespace wt {

// The reference-counted base of every object that crosses the boundary.
// A new object has count 1.
class TInterface {
public:
    // Adds a reference; returns the new count.
    virtual int32_t AddRef() = 0;
    // Drops a reference; returns the new count; at 0 the object is destroyed.
    virtual int32_t Release() = 0;
    // The interface version; 2 for this header.
    virtual int32_t GetVersion() = 0;

protected:
    ~TInterface() = default;
};

// The kind of an expert. Only esStandard experts are menu entries of their own.
enum TExpertStyle : uint8_t {
    esStandard = 0,
    esForm = 1,
    esProject = 2,
    esAddIn = 3,
};

// Members of TExpertState, by bit position.
enum TExpertStateMember : uint8_t {
    esEnabled = 0,
    esChecked = 1,
};

// An 8-bit set of TExpertStateMember: bit n set means member n is present.
struct TExpertState {
    uint8_t Bits = 0;

    constexpr bool Contains(TExpertStateMember member) const { return (Bits >> member) & 1u; }
    constexpr TExpertState& Include(TExpertStateMember member) {
        Bits = static_cast<uint8_t>(Bits | (1u << member));
        return *this;
    }
    constexpr TExpertState& Exclude(TExpertStateMember member) {
        Bits = static_cast<uint8_t>(Bits & ~(1u << member));
        return *this;
    }
    friend constexpr bool operator==(TExpertState, TExpertState) = default;
};
static_assert(sizeof(TExpertState) == 1);

// An expert: a menu entry of the host that runs the add-in's Execute.
// Texts stay valid as long as the object lives. GetAuthor, GetPage and
// GetGlyph serve the host's object repository; an expert that does not live
// there answers "" for the texts and 0 (no glyph) for GetGlyph.
class TIExpert : public TInterface {
public:
    virtual const char* GetName() = 0;
    virtual const char* GetAuthor() = 0;
    virtual const char* GetComment() = 0;
    virtual const char* GetPage() = 0;
    // A bitmap handle for the repository; 0 means none.
    virtual uintptr_t GetGlyph() = 0;
    virtual TExpertStyle GetStyle() = 0;
    virtual TExpertState GetState() = 0;
    virtual const char* GetIDString() = 0;
    virtual const char* GetMenuText() = 0;
    virtual void Execute() = 0;

protected:
    ~TIExpert() = default;
};

// Notification codes that the host sends through TIAddInNotifier::Notify.
// fileName is the full name of the file concerned.
enum TFileNotification : uint8_t {
    // Before the open project closes; fileName is the project file.
    fnProjectClosing = 5,
    // After a project's desktop file (or any desktop other than the host's
    // default one) has been loaded; fileName is the desktop file.
    fnProjectDesktopLoad = 8,
    // After the host's default desktop file has been loaded.
    fnDefaultDesktopLoad = 10,
    // Before a desktop file is saved, so that the windows can be put where
    // they belong first; fileName is the desktop file about to be written.
    fnDesktopSave = 11,
};

// An add-in's listener for the host's project and desktop events.
class TIAddInNotifier : public TInterface {
public:
    // cancel points at false; for the "before" codes (5, 11) a notifier may
    // set it to true to ask the host not to go on.
    virtual void Notify(uint8_t code, const char* fileName, bool* cancel) = 0;

protected:
    ~TIAddInNotifier() = default;
};

// The host's services, handed to the entry point. The host owns this object;
// it lives from before the entry point until after the termination procedure.
class TIToolServices : public TInterface {
public:
    // The host's main window, as a native window handle (on X11 the window
    // id; inside the host's process QWidget::find turns it into the widget).
    virtual uintptr_t OwnerWindowHandle() = 0;
    // The full name of the open project's file; "" while none is open.
    // Valid until the next call on this object.
    virtual const char* CurrentProjectName() = 0;
    // From now on the host calls notifier->Notify; the host holds a reference
    // until UnregisterNotifier. The result tells whether it was registered.
    virtual bool RegisterNotifier(TIAddInNotifier* notifier) = 0;
    virtual bool UnregisterNotifier(TIAddInNotifier* notifier) = 0;
    // Shows an error message to the user; returns when the message is handed
    // over.
    virtual void ReportError(const char* message) = 0;

protected:
    ~TIToolServices() = default;
};

// Registers one expert with the host. The host takes over the expert's first
// reference and releases it after the add-in has been terminated.
using TExpertRegisterProc = bool (*)(TIExpert* expert);
// The add-in's termination procedure, called once before the host unloads it.
using TExpertTerminateProc = void (*)();
// The exported entry point: true when the add-in initialised, false when it
// refused. It may throw (see above).
using TExpertInitProc = bool (*)(TIToolServices* services, TExpertRegisterProc registerProc,
                                 TExpertTerminateProc* terminate);

// The name under which an add-in exports its entry point (C linkage).
inline constexpr char ExpertEntryPointName[] = "INITEXPERT0016";
// The interface version that GetVersion answers.
inline constexpr int32_t ToolsApiVersion = 2;

} // namespace wt

// The entry point as an add-in defines it.
extern "C" __attribute__((visibility("default"))) bool
INITEXPERT0016(wt::TIToolServices* services, wt::TExpertRegisterProc registerProc,
               wt::TExpertTerminateProc* terminate);
