// Helpers of the form tests: an application object, a simulated desktop per
// test, and a small published component that records how it was loaded.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"
#include "toolkit/forms/form.h"

#include "platform/platform.h"
#include "platform/sim/sim_platform.h"

#include <QApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace wt::test {

inline void EnsureFormApplication() {
    if (qApp)
        return;
    static int argc = 1;
    static char name[] = "wt_toolkit_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

class TProbe : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count WRITE SetCount)
    Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(wt::ui::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(wt::ui::TFontStyles Marks READ Marks WRITE SetMarks)
    Q_PROPERTY(int FrameColor READ FrameColor WRITE SetFrameColor)
    Q_PROPERTY(wt::TControl* Buddy READ Buddy WRITE SetBuddy)
    Q_CLASSINFO("Default.Count", "3")
    Q_CLASSINFO("Default.Alignment", "taCenter")
    Q_CLASSINFO("Default.Marks", "[]")
    Q_CLASSINFO("Default.FrameColor", "clBtnShadow")

public:
    explicit TProbe(TComponent* owner = nullptr) : TWinControl(owner) {}

    int Count() const { return count_; }
    void SetCount(int v) {
        if (v < 0)
            throw std::invalid_argument("Count must not be negative");
        count_ = v;
        if (!IsStreaming())
            ++rebuilds;
    }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    QStringList Items() const { return items_; }
    void SetItems(const QStringList& v) { items_ = v; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { alignment_ = v; }
    TFontStyles Marks() const { return marks_; }
    void SetMarks(TFontStyles v) { marks_ = v; }
    int FrameColor() const { return frameColor_; }
    void SetFrameColor(int v) { frameColor_ = v; }
    TControl* Buddy() const { return buddy_; }
    void SetBuddy(TControl* v) { buddy_ = v; }

    void Loaded() override {
        TWinControl::Loaded();
        ++loadedCalls;
        countAtLoaded = count_;
        captionAtLoaded = Caption();
        streamingAfterLoaded = IsStreaming();
    }

    TNotifyEvent OnPing{this, "OnPing"};
    TEvent<TObject*, int&> OnAsk{this, "OnAsk"};

    int rebuilds = 0;
    int loadedCalls = 0;
    int countAtLoaded = -1;
    QString captionAtLoaded;
    bool streamingAfterLoaded = true;

private:
    int count_ = 3;
    double ratio_ = 0;
    QStringList items_;
    TAlignment alignment_ = taCenter;
    TFontStyles marks_;
    int frameColor_ = clBtnShadow;
    TControl* buddy_ = nullptr;
};
WT_REGISTER_CLASS(TProbe);

// Integer and decimal properties of every width, to write and read back
// at their extremes.
class TValueProbe : public TProbe {
    Q_OBJECT
    Q_PROPERTY(qlonglong Big READ Big WRITE SetBig)
    Q_PROPERTY(uint UBig READ UBig WRITE SetUBig)
    Q_PROPERTY(short Small READ Small WRITE SetSmall)
    Q_PROPERTY(ushort USmall READ USmall WRITE SetUSmall)
    Q_PROPERTY(signed char Tiny READ Tiny WRITE SetTiny)
    Q_PROPERTY(uchar UTiny READ UTiny WRITE SetUTiny)

public:
    explicit TValueProbe(TComponent* owner = nullptr) : TProbe(owner) {}

    qlonglong Big() const { return big_; }
    void SetBig(qlonglong v) { big_ = v; }
    uint UBig() const { return ubig_; }
    void SetUBig(uint v) { ubig_ = v; }
    short Small() const { return small_; }
    void SetSmall(short v) { small_ = v; }
    ushort USmall() const { return usmall_; }
    void SetUSmall(ushort v) { usmall_ = v; }
    signed char Tiny() const { return tiny_; }
    void SetTiny(signed char v) { tiny_ = v; }
    uchar UTiny() const { return utiny_; }
    void SetUTiny(uchar v) { utiny_ = v; }

private:
    qlonglong big_ = 0;
    uint ubig_ = 0;
    short small_ = 0;
    ushort usmall_ = 0;
    signed char tiny_ = 0;
    uchar utiny_ = 0;
};
WT_REGISTER_CLASS(TValueProbe);

// A form with a few handlers, read from whatever text a test gives it.
class TfrmProbe : public TForm {
    Q_OBJECT
public:
    explicit TfrmProbe(TComponent* owner = nullptr) : TForm(owner) {
        Handler("ProbePing", &TfrmProbe::ProbePing);
        Handler("ProbeAsk", &TfrmProbe::ProbeAsk);
        Handler("FormCreate", &TfrmProbe::FormCreate);
    }
    void ProbePing(TObject* sender) { pings.push_back(sender); }
    void ProbeAsk(TObject*, int& answer) { answer = 42; }
    void FormCreate(TObject*) { ++creates; }

    std::vector<TObject*> pings;
    int creates = 0;
};
WT_REGISTER_CLASS(TfrmProbe);

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureFormApplication();
        auto sim = std::make_unique<SimPlatform>();
        platform_ = sim.get();
        previous_ = InstallPlatform(std::move(sim));
    }
    void TearDown() override { InstallPlatform(std::move(previous_)); }
    SimPlatform& Sim() { return *platform_; }

private:
    SimPlatform* platform_ = nullptr;
    std::unique_ptr<Platform> previous_;
};

} // namespace wt::test
