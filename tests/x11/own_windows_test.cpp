// Our own windows on the real desktop: ClientMessages through Qt's xcb event
// stream, posted and sent messages, timers, activation, help and message box.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/x11/x11_platform.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_environment.h"

#include <X11/extensions/XTest.h>

#include <fstream>
#include <thread>
#include <vector>

namespace wt::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class OwnWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_ = std::make_unique<X11Platform>();
        panel_ = std::make_unique<QWidget>();
        panel_->setGeometry(400, 300, 200, 100);
        panel_->show();
        handle_ = platform_->System().AttachWindow(
            panel_->winId(), "TfrmMain",
            [this](const WindowMessage& m) { received_.push_back(m); });
        client_ = std::make_unique<TestClient>();
    }
    void TearDown() override {
        platform_->Hook().ResetHook();
        platform_->System().DetachWindow(handle_);
        panel_.reset();
        platform_.reset();
    }
    // Pumps until the predicate holds or two seconds have passed.
    template <typename Predicate>
    bool PumpUntil(Predicate done, std::chrono::milliseconds limit = 2s) {
        const auto deadline = Clock::now() + limit;
        while (!done()) {
            if (Clock::now() > deadline)
                return false;
            platform_->System().ProcessMessages();
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    void SendClientMessage(Window window, const char* type, int format, long value) {
        XClientMessageEvent message{};
        message.type = ClientMessage;
        message.window = window;
        message.message_type = client_->Intern(type);
        message.format = format;
        message.data.l[0] = value;
        XSendEvent(client_->GetDisplay(), window, False, NoEventMask,
                   reinterpret_cast<XEvent*>(&message));
        client_->Sync();
    }
    std::vector<WindowMessage> Of(std::uint32_t msg) const {
        std::vector<WindowMessage> out;
        for (const auto& m : received_)
            if (m.Msg == msg)
                out.push_back(m);
        return out;
    }

    std::unique_ptr<X11Platform> platform_;
    std::unique_ptr<QWidget> panel_;
    std::unique_ptr<TestClient> client_;
    WindowHandle handle_ = 0;
    std::vector<WindowMessage> received_;
};

TEST_F(OwnWindowsTest, TheNativeIdIsTheHandleAndClientMessagesReachTheHandler) {
    EXPECT_EQ(handle_, panel_->winId());
    // Malformed and foreign messages first: neither reaches the handler.
    SendClientMessage(handle_, "WM_WATCHMOUSE", 8, 0x11);
    SendClientMessage(handle_, "SOMETHING_ELSE", 32, 0x22);
    SendClientMessage(handle_, "WM_WATCHMOUSE", 32, 0x00C80064);
    ASSERT_TRUE(PumpUntil([&] { return !Of(WM_WATCHMOUSE).empty(); }));
    auto reports = Of(WM_WATCHMOUSE);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].Window, handle_);
    EXPECT_EQ(reports[0].LParam, 0x00C80064);
    EXPECT_EQ(reports[0].WParam, 0u);
}

TEST_F(OwnWindowsTest, TheHookReportsPointerMotionToThePanel) {
    platform_->Hook().SetHook(handle_);
    const auto deadline = Clock::now() + 3s;
    bool seen = false;
    while (!seen && Clock::now() < deadline) {
        client_->FakeMotion(123, 456);
        PumpUntil([&] {
            for (const auto& m : Of(WM_WATCHMOUSE))
                if (m.LParam == (123 | (456 << 16)))
                    seen = true;
            return seen;
        });
        client_->FakeMotion(124, 456);
    }
    EXPECT_TRUE(seen);
    platform_->Hook().ResetHook();
}

TEST_F(OwnWindowsTest, PostedMessagesWaitForThePumpAndKeepTheirOrder) {
    received_.clear();
    EXPECT_TRUE(platform_->System().PostMessage(handle_, WM_USER + 1, 1, 10));
    EXPECT_TRUE(platform_->System().PostMessage(handle_, WM_USER + 2, 2, 20));
    EXPECT_TRUE(received_.empty()) << "a posted message was delivered at once";
    EXPECT_TRUE(platform_->System().SendMessage(handle_, WM_USER + 3, 3, 30));
    ASSERT_EQ(received_.size(), 1u) << "a sent message waited";
    platform_->System().ProcessMessages();
    ASSERT_EQ(received_.size(), 3u);
    EXPECT_EQ(received_[1].Msg, WM_USER + 1);
    EXPECT_EQ(received_[2].Msg, WM_USER + 2);
    EXPECT_EQ(received_[2].LParam, 20);

    EXPECT_FALSE(platform_->System().PostMessage(0x1234567, WM_USER, 0, 0));
    EXPECT_FALSE(platform_->System().SendMessage(0x1234567, WM_USER, 0, 0));
}

TEST_F(OwnWindowsTest, AMessagePostedByAHandlerWaitsForTheNextPass) {
    int count = 0;
    WindowHandle self = platform_->System().AttachWindow(0, "TSelf", [&](const WindowMessage&) {
        ++count;
        platform_->System().PostMessage(self, WM_USER, 0,
                                        0); // would never end if delivered in the same pass
    });
    EXPECT_NE(self, 0u);
    EXPECT_NE(self, handle_);
    platform_->System().PostMessage(self, WM_USER, 0, 0);
    platform_->System().ProcessMessages();
    EXPECT_GE(count, 1);
    EXPECT_LT(count, 10);
    platform_->System().DetachWindow(self);
    const int atDetach = count;
    platform_->System().ProcessMessages();
    EXPECT_EQ(count, atDetach) << "a detached window still got its queued message";
}

TEST_F(OwnWindowsTest, TimersTickOnThePumpAndMayKillThemselves) {
    int zeroTicks = 0;
    TimerId zero = 0;
    zero = platform_->System().SetTimer(0, [&] {
        if (++zeroTicks == 3)
            platform_->System().KillTimer(zero);
    });
    ASSERT_NE(zero, 0u);
    ASSERT_TRUE(PumpUntil([&] { return zeroTicks >= 3; }));
    for (int i = 0; i < 20; ++i)
        platform_->System().ProcessMessages();
    EXPECT_EQ(zeroTicks, 3) << "a killed timer ticked on";

    int ticks = 0;
    TimerId timer = platform_->System().SetTimer(5, [&] { ++ticks; });
    EXPECT_NE(timer, zero);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    platform_->System().KillTimer(timer);
    platform_->System().KillTimer(timer); // twice is harmless
    const int atKill = ticks;
    std::this_thread::sleep_for(20ms);
    platform_->System().ProcessMessages();
    EXPECT_EQ(ticks, atKill);
}

// Without a window manager no window is ever active in the desktop's sense
// (no _NET_ACTIVE_WINDOW): Qt's losing the focus is then no deactivation, and
// the host counts as active. Under a manager it is one (the e2e suite).
TEST_F(OwnWindowsTest, WithoutAWindowManagerLosingTheFocusIsNoDeactivation) {
    panel_->activateWindow();
    panel_->windowHandle()->requestActivate();
    ASSERT_TRUE(PumpUntil([] {
        return QGuiApplication::applicationState() == Qt::ApplicationActive;
    })) << "the panel could not be activated";
    Window other = client_->Create({"TOther", "other", true, {0, 0, 100, 100}});
    XSetInputFocus(client_->GetDisplay(), other, RevertToParent, CurrentTime);
    client_->Sync();
    ASSERT_TRUE(
        PumpUntil([] { return QGuiApplication::applicationState() != Qt::ApplicationActive; }));
    PumpUntil([] { return false; }, 200ms);
    for (const WindowMessage& change : Of(WM_ACTIVATEAPP))
        EXPECT_NE(change.WParam, 0u) << "a deactivation was passed on";
    client_->Destroy(other);
}

TEST_F(OwnWindowsTest, MessageBoxShowsCaptionAndText) {
    QString seenText, seenTitle;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seenText = box->text();
            seenTitle = box->windowTitle();
            box->accept();
        }
    });
    closer.start(10);
    platform_->System().MessageBox("Delphi could not be found.", "Wingtucker");
    EXPECT_EQ(seenText, "Delphi could not be found.");
    EXPECT_EQ(seenTitle, "Wingtucker");
}

TEST_F(OwnWindowsTest, HelpShowsAnAnchorOfTheHtmlPage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString();
    std::ofstream(base + "/wingtckr.html")
        << "<html><body><h1><a name=\"Hidden_Button\">Hidden</a></h1><p>text</p>"
           "<h2 id='Sound_Button'>Sound</h2></body></html>";
    // Each refusal says once what is missing, in a box the user closes.
    QStringList said;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said.append(box->text());
            box->accept();
        }
    });
    closer.start(10);
    EXPECT_TRUE(platform_->Help().ShowHelp(base + "/WINGTCKR.HLP", "Hidden_Button"));
    EXPECT_TRUE(platform_->Help().ShowHelp(base + "/wingtckr.html", "Sound_Button"));
    EXPECT_TRUE(said.empty()) << said.join("\n").toStdString();
    const struct {
        std::string file, topic;
        const char* says;
    } refused[] = {
        {base + "/WINGTCKR.HLP", "General_Button", "has no topic \"General_Button\""},
        {base + "/WINGTCKR.HLP", "Hidden", "has no topic \"Hidden\""},
        {base + "/MISSING.HLP", "Hidden_Button", "MISSING.HLP\" could not be found"},
    };
    for (const auto& r : refused) {
        said.clear();
        EXPECT_FALSE(platform_->Help().ShowHelp(r.file, r.topic));
        ASSERT_EQ(said.size(), 1) << r.file << " " << r.topic;
        EXPECT_TRUE(said[0].contains(QString::fromUtf8(r.says))) << said[0].toStdString();
    }
    closer.stop();
    // Both requests that were granted went to one window.
    QTextBrowser* browser = nullptr;
    int browsers = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QTextBrowser*>(widget); b && b->isVisible()) {
            browser = b;
            ++browsers;
        }
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browsers, 1);
    EXPECT_EQ(browser->source().fragment(), "Sound_Button");
}

// Help asked for from a modal dialog takes the keyboard while the dialog is
// up (Escape closes it), shows even the page's last topic at the top, and
// outlives the dialog.
TEST_F(OwnWindowsTest, HelpFromAModalDialogTakesInputAndShowsAnyTopicAtTheTop) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string page = dir.path().toStdString() + "/wingtckr.html";
    std::ofstream html(page);
    html << "<html><body>";
    for (int i = 0; i < 40; ++i)
        html << "<p>Filler line " << i << "</p>";
    html << "<h2><a name=\"General_Button\">General</a></h2><p>Last words.</p></body></html>";
    html.close();

    auto dialog = std::make_unique<QWidget>(nullptr, Qt::Window);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setGeometry(100, 100, 200, 150);
    dialog->show();
    ASSERT_TRUE(platform_->Help().ShowHelp(page, "General_Button"));
    QTextBrowser* browser = nullptr;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* b = qobject_cast<QTextBrowser*>(widget); b && b->isVisible())
            browser = b;
    ASSERT_NE(browser, nullptr);
    PumpUntil([] { return false; }, 300ms);

    // The topic's heading stands at the top of the page's view.
    QTextBlock block = browser->document()->begin();
    while (block.isValid() && !block.text().startsWith("General"))
        block = block.next();
    ASSERT_TRUE(block.isValid());
    const qreal top = browser->document()->documentLayout()->blockBoundingRect(block).top();
    EXPECT_NEAR(top - browser->verticalScrollBar()->value(), 0, 16)
        << "the last topic could not be brought to the top";

    // Escape typed into it, as a user would.
    Display* display = client_->GetDisplay();
    XSetInputFocus(display, browser->window()->winId(), RevertToParent, CurrentTime);
    client_->Sync();
    PumpUntil([] { return false; }, 200ms);
    const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
    XTestFakeKeyEvent(display, escape, True, CurrentTime);
    XTestFakeKeyEvent(display, escape, False, CurrentTime);
    client_->Sync();
    EXPECT_TRUE(PumpUntil([&] { return !browser->isVisible(); }))
        << "the help window took no key while the dialog was up";

    // Asked again, then the dialog goes: the help stays, on its own.
    ASSERT_TRUE(platform_->Help().ShowHelp(page, "General_Button"));
    dialog->hide();
    dialog.reset();
    PumpUntil([] { return false; }, 100ms);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->parentWidget(), nullptr);

    // A dialog freed while it is still shown frees the help with it; the
    // next request makes a new window.
    dialog = std::make_unique<QWidget>(nullptr, Qt::Window);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    ASSERT_TRUE(platform_->Help().ShowHelp(page, "General_Button"));
    dialog.reset();
    EXPECT_TRUE(platform_->Help().ShowHelp(page, "General_Button"));
}

} // namespace
} // namespace wt::test
