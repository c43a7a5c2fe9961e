// The simulated desktop must behave like a window system, or every engine
// test built on it proves nothing.
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace wt {
namespace {

TEST(SimDesktop, FindWindowMatchesWholeClassAndTitleTopmostFirst) {
    SimPlatform sim;
    WindowHandle low = sim.AddWindow("TPropertyInspector", "Object Inspector", {0, 0, 10, 10});
    WindowHandle high = sim.AddWindow("TPropertyInspector", "Other", {0, 0, 10, 10});
    EXPECT_EQ(sim.FindWindow("TPropertyInspector", std::nullopt), high);
    EXPECT_EQ(sim.FindWindow("TPropertyInspector", "Object Inspector"), low);
    EXPECT_EQ(sim.FindWindow("TPropertyInspector", "Object"), 0u);
    EXPECT_EQ(sim.FindWindow("TPropertyInspecto", std::nullopt), 0u);
    EXPECT_EQ(sim.FindWindow("tpropertyinspector", std::nullopt), 0u);
    sim.BringWindowToTop(low);
    EXPECT_EQ(sim.FindWindow("TPropertyInspector", std::nullopt), low);
}

TEST(SimDesktop, ChildWindowsAreNotFoundByClass) {
    SimPlatform sim;
    WindowHandle top = sim.AddWindow("TAppBuilder", "Delphi", {0, 0, 100, 100});
    sim.AddChildWindow(top, "TButton", {1, 1, 5, 5});
    EXPECT_EQ(sim.FindWindow("TButton", std::nullopt), 0u);
}

TEST(SimDesktop, RectanglesOfUnknownHandlesAreZeroAndMovesFail) {
    SimPlatform sim;
    WindowHandle w = sim.AddWindow("A", "", {10, 20, 110, 220});
    EXPECT_EQ(sim.GetWindowRect(0), TRect{});
    EXPECT_EQ(sim.GetWindowRect(w + 1000), TRect{});
    EXPECT_FALSE(sim.MoveWindow(0, 1, 2, 3, 4, true));
    EXPECT_TRUE(sim.MoveWindow(w, -5, -6, 50, 60, true));
    EXPECT_EQ(sim.GetWindowRect(w), (TRect{-5, -6, 45, 54}));
    ASSERT_EQ(sim.MoveCalls().size(), 2u);
    EXPECT_FALSE(sim.MoveCalls()[0].Moved);
    EXPECT_TRUE(sim.MoveCalls()[1].Moved);
    sim.DestroyWindow(w);
    EXPECT_FALSE(sim.IsWindow(w));
    EXPECT_FALSE(sim.IsWindow(0));
    EXPECT_EQ(sim.GetWindowRect(w), TRect{});
}

TEST(SimDesktop, WindowFromPointPrefersChildrenAndTopmost) {
    SimPlatform sim;
    WindowHandle back = sim.AddWindow("Back", "", {0, 0, 500, 500});
    WindowHandle front = sim.AddWindow("Front", "", {100, 100, 300, 300});
    WindowHandle child = sim.AddChildWindow(front, "Child", {150, 150, 200, 200});
    WindowHandle popup = sim.AddPopup(back, "Popup", "", {400, 400, 450, 450});
    EXPECT_EQ(sim.WindowFromPoint({160, 160}), child);
    EXPECT_EQ(sim.WindowFromPoint({110, 110}), front);
    EXPECT_EQ(sim.WindowFromPoint({50, 50}), back);
    EXPECT_EQ(sim.WindowFromPoint({300, 300}), back); // right/bottom are one past
    EXPECT_EQ(sim.WindowFromPoint({600, 600}), 0u);
    EXPECT_EQ(sim.WindowFromPoint({410, 410}), popup);
    EXPECT_EQ(sim.GetParent(child), front);
    EXPECT_EQ(sim.GetParent(popup), back);
    EXPECT_EQ(sim.GetParent(front), 0u);
    sim.BringWindowToTop(back);
    EXPECT_EQ(sim.WindowFromPoint({110, 110}), back);
    sim.DestroyWindow(back);
    EXPECT_FALSE(sim.IsWindow(popup)); // owned pop-ups go with their owner
}

TEST(SimClock, TimersFireOnlyWhenAdvancedInDueOrderAtTheirInterval) {
    SimPlatform sim;
    std::vector<std::pair<char, std::int64_t>> ticks;
    TimerId a = sim.SetTimer(100, [&] { ticks.push_back({'a', sim.Now()}); });
    sim.SetTimer(30, [&] { ticks.push_back({'b', sim.Now()}); });
    sim.ProcessMessages();
    EXPECT_TRUE(ticks.empty());
    sim.Advance(99);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks.back(), (std::pair<char, std::int64_t>{'b', 90}));
    sim.Advance(1);
    EXPECT_EQ(ticks.back(), (std::pair<char, std::int64_t>{'a', 100}));
    sim.KillTimer(a);
    ticks.clear();
    sim.Advance(200);
    for (auto& t : ticks)
        EXPECT_EQ(t.first, 'b');
    EXPECT_EQ(sim.Now(), 300);
}

TEST(SimClock, TimerKilledInsideItsTickStopsAndZeroIntervalFiresOnEveryPass) {
    SimPlatform sim;
    int once = 0;
    TimerId t = 0;
    t = sim.SetTimer(10, [&] {
        ++once;
        sim.KillTimer(t);
    });
    sim.Advance(100);
    EXPECT_EQ(once, 1);
    int zero = 0;
    sim.SetTimer(0, [&] { ++zero; });
    sim.ProcessMessages();
    sim.ProcessMessages();
    EXPECT_EQ(zero, 2);
}

TEST(SimMessages, PostedMessagesArriveInOrderThroughThePump) {
    SimPlatform sim;
    std::vector<std::uint32_t> got;
    WindowHandle own = sim.AttachWindow(0, "TfrmMain", [&](const WindowMessage& m) {
        got.push_back(m.Msg);
        if (m.Msg == 1)
            sim.PostMessage(m.Window, 3, 0, 0); // posted while handling: same pass
    });
    EXPECT_TRUE(sim.PostMessage(own, 1, 0, 0));
    EXPECT_TRUE(sim.PostMessage(own, 2, 0, 0));
    EXPECT_FALSE(sim.PostMessage(own + 99, 2, 0, 0));
    EXPECT_TRUE(got.empty());
    sim.ProcessMessages();
    EXPECT_EQ(got, (std::vector<std::uint32_t>{1, 2, 3}));
    sim.DetachWindow(own);
    EXPECT_FALSE(sim.PostMessage(own, 1, 0, 0));
}

TEST(SimHook, PointerMovesReachTheHookedWindowPackedLikeTheRealHook) {
    SimPlatform sim;
    std::vector<std::intptr_t> lParams;
    WindowHandle own = sim.AttachWindow(0, "TfrmMain", [&](const WindowMessage& m) {
        if (m.Msg == WM_WATCHMOUSE)
            lParams.push_back(m.LParam);
    });
    EXPECT_FALSE(sim.MovePointer(1, 2)); // no hook set
    sim.SetHook(own);
    EXPECT_TRUE(sim.MovePointer(1019, 5));
    sim.ResetHook();
    sim.ResetHook(); // harmless without a hook
    EXPECT_FALSE(sim.MovePointer(3, 4));
    sim.ProcessMessages();
    ASSERT_EQ(lParams.size(), 1u);
    EXPECT_EQ(lParams[0] & 0xFFFF, 1019);
    EXPECT_EQ((lParams[0] >> 16) & 0xFFFF, 5);
    EXPECT_EQ(sim.ResetHookCalls(), 2);
}

void WriteWave(const std::string& path, std::uint32_t dataBytes) {
    std::ofstream out(path, std::ios::binary);
    auto le32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto le16 = [&](std::uint16_t v) {
        out.put(static_cast<char>(v & 0xFF));
        out.put(static_cast<char>(v >> 8));
    };
    out.write("RIFF", 4);
    le32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    le32(16);
    le16(1);
    le16(1);
    le32(8000);
    le32(8000); // byte rate: 8000 bytes a second
    le16(1);
    le16(8);
    out.write("data", 4);
    le32(dataBytes);
    for (std::uint32_t i = 0; i < dataBytes; ++i)
        out.put(static_cast<char>(128));
}

TEST(SimSound, PlaysWavesDropsRequestsWhileBusyAndIgnoresJunk) {
    SimPlatform sim;
    auto dir = std::filesystem::temp_directory_path() / ("wtsim" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string wave = (dir / "out.wav").string();
    WriteWave(wave, 800); // 100 ms
    std::string junk = (dir / "junk.wav").string();
    std::ofstream(junk) << "not a wave";
    const unsigned flags = SND_ASYNC | SND_NODEFAULT | SND_NOSTOP;
    EXPECT_TRUE(sim.PlaySound(wave, flags));
    EXPECT_FALSE(sim.PlaySound(wave, flags)); // still playing
    sim.Advance(100);
    EXPECT_FALSE(sim.PlaySound(junk, flags));
    EXPECT_FALSE(sim.PlaySound((dir / "missing.wav").string(), flags));
    EXPECT_TRUE(sim.PlaySound(wave, flags));
    EXPECT_EQ(sim.SoundRequests().size(), 5u);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace wt
