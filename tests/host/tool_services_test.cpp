// The host services as an add-in sees them: the project name, the notifier
// registry with its references, and notifications that survive a notifier
// throwing, cancelling or unregistering itself.
#include "host/tool_services.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <stdexcept>

using namespace wt;

namespace {

class ProbeNotifier final : public TIAddInNotifier {
public:
    explicit ProbeNotifier(QString name, QStringList* heard)
        : name_(std::move(name)), heard_(heard) {}

    int32_t AddRef() override { return ++Count; }
    int32_t Release() override { return --Count; } // owned by the test
    int32_t GetVersion() override { return ToolsApiVersion; }
    void Notify(uint8_t code, const char* fileName, bool* cancel) override {
        heard_->append(QString("%1 %2 %3").arg(name_).arg(code).arg(fileName));
        if (OnNotify)
            OnNotify(cancel);
    }

    int32_t Count = 1;
    std::function<void(bool*)> OnNotify;

private:
    QString name_;
    QStringList* heard_;
};

struct Fixture {
    QStringList reports;
    QString project;
    HostToolServices services{HostToolServices::Hooks{
        [] { return uintptr_t{0x4200007}; },
        [this] { return project; },
        [this](const QString& message) { reports.append(message); },
    }};
};

} // namespace

TEST(ToolServices, AnswersWhatAnAddInAsks) {
    Fixture f;
    EXPECT_EQ(f.services.OwnerWindowHandle(), 0x4200007u);
    EXPECT_EQ(f.services.GetVersion(), 2);
    EXPECT_STREQ(f.services.CurrentProjectName(), "");
    f.project = "/p/Project1.dpr";
    EXPECT_STREQ(f.services.CurrentProjectName(), "/p/Project1.dpr");
    f.services.ReportError("disk full");
    f.services.ReportError(nullptr);
    EXPECT_EQ(f.reports, (QStringList{"disk full", "(no message)"}));
}

TEST(ToolServices, RegistrationHoldsOneReferenceUntilUnregistered) {
    Fixture f;
    QStringList heard;
    ProbeNotifier a("a", &heard);
    EXPECT_FALSE(f.services.RegisterNotifier(nullptr));
    EXPECT_TRUE(f.services.RegisterNotifier(&a));
    EXPECT_FALSE(f.services.RegisterNotifier(&a));
    EXPECT_EQ(a.Count, 2);
    EXPECT_TRUE(f.services.Broadcast(fnDefaultDesktopLoad, "/c/DELPHI32.DSK"));
    EXPECT_EQ(a.Count, 2);
    EXPECT_TRUE(f.services.UnregisterNotifier(&a));
    EXPECT_FALSE(f.services.UnregisterNotifier(&a));
    EXPECT_EQ(a.Count, 1);
    f.services.Broadcast(fnProjectClosing, "/p/P.dpr");
    EXPECT_EQ(heard, QStringList{"a 10 /c/DELPHI32.DSK"});
}

TEST(ToolServices, AThrowingNotifierIsReportedAndTheOthersStillHear) {
    Fixture f;
    QStringList heard;
    ProbeNotifier a("a", &heard), b("b", &heard), c("c", &heard);
    b.OnNotify = [](bool*) { throw std::runtime_error("b broke"); };
    c.OnNotify = [](bool*) { throw 42; };
    f.services.SetRegisteringAddIn("/lib/libb.so");
    f.services.RegisterNotifier(&b);
    f.services.SetRegisteringAddIn(QString());
    f.services.RegisterNotifier(&a);
    f.services.RegisterNotifier(&c);
    EXPECT_TRUE(f.services.Broadcast(fnProjectDesktopLoad, "/p/P.dsk"));
    EXPECT_EQ(heard, (QStringList{"b 8 /p/P.dsk", "a 8 /p/P.dsk", "c 8 /p/P.dsk"}));
    ASSERT_EQ(f.reports.size(), 2);
    EXPECT_TRUE(f.reports[0].contains("/lib/libb.so"));
    EXPECT_TRUE(f.reports[0].contains("b broke"));
    EXPECT_TRUE(f.reports[0].contains("notification 8"));
    EXPECT_TRUE(f.reports[1].contains("unknown"));
    EXPECT_EQ(b.Count, 2);
    EXPECT_EQ(c.Count, 2);
}

TEST(ToolServices, ACancelIsPassedBackAfterEveryoneHeard) {
    Fixture f;
    QStringList heard;
    ProbeNotifier a("a", &heard), b("b", &heard);
    a.OnNotify = [](bool* cancel) { *cancel = true; };
    b.OnNotify = [](bool* cancel) { EXPECT_FALSE(*cancel); };
    f.services.RegisterNotifier(&a);
    f.services.RegisterNotifier(&b);
    EXPECT_FALSE(f.services.Broadcast(fnDesktopSave, "/p/P.dsk"));
    EXPECT_EQ(heard.size(), 2);
}

TEST(ToolServices, NotifiersMayUnregisterDuringANotification) {
    Fixture f;
    QStringList heard;
    ProbeNotifier a("a", &heard), b("b", &heard);
    // a drops itself and b: b must not be called, and a keeps a live count
    // while its own call runs.
    a.OnNotify = [&](bool*) {
        f.services.UnregisterNotifier(&a);
        f.services.UnregisterNotifier(&b);
        EXPECT_GE(a.Count, 2);
    };
    f.services.RegisterNotifier(&a);
    f.services.RegisterNotifier(&b);
    f.services.Broadcast(fnProjectClosing, "/p/P.dpr");
    EXPECT_EQ(heard, QStringList{"a 5 /p/P.dpr"});
    EXPECT_EQ(a.Count, 1);
    EXPECT_EQ(b.Count, 1);
    EXPECT_EQ(f.services.NotifierCount(), 0u);
}

TEST(ToolServices, AfterStopNothingIsNotifiedAndReferencesAreReturned) {
    Fixture f;
    QStringList heard;
    ProbeNotifier a("a", &heard), b("b", &heard);
    f.services.SetRegisteringAddIn("/lib/liba.so");
    f.services.RegisterNotifier(&a);
    f.services.SetRegisteringAddIn("/lib/libb.so");
    f.services.RegisterNotifier(&b);
    f.services.DropNotifiersOf("/lib/liba.so");
    EXPECT_EQ(a.Count, 1);
    f.services.StopNotifications();
    f.services.Broadcast(fnProjectClosing, "/p/P.dpr");
    EXPECT_TRUE(heard.isEmpty());
    f.services.ReleaseAllNotifiers();
    EXPECT_EQ(b.Count, 1);
    EXPECT_EQ(f.services.NotifierCount(), 0u);
}
