// Helpers of the notebook tests: a form holding a notebook on the simulated
// desktop, the options dialog's notebook, and pixels read back as colours.
#pragma once

#include "ui_support.h"

#include "toolkit/forms/designer.h"
#include "toolkit/forms/form.h"
#include "widgets/notebook/CSNoteBk.h"

#include <QImage>

#include <memory>
#include <vector>

namespace wt::test {

// A designer that counts the modifications it hears and takes every mouse
// message it is offered.
class RecordingDesigner : public TDesigner {
public:
    void Modified() override { ++modified; }
    bool IsDesignMsg(TControl*, TMessage& m) override {
        messages.push_back(m.Msg);
        return true;
    }
    int modified = 0;
    std::vector<std::uint32_t> messages;
};

class NotebookTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = std::make_unique<TForm>();
        form->SetBounds(0, 0, 400, 400);
        form->SetColor(clTeal); // the parent's colour, distinct from the rest
        Renew();
    }
    // A fresh notebook on the form in place of the last one.
    void Renew() {
        delete nb;
        nb = new TcsNotebook(form.get());
        nb->SetParent(form.get());
        nb->SetParentColor(false);
        nb->SetColor(clYellow);
    }
    void TearDown() override {
        form.reset();
        UiTest::TearDown();
    }

    // Captions become the pages, replacing "Default" (before the layout is ready).
    void SetPages(const QStringList& captions, int width, int height) {
        nb->SetBounds(0, 0, width, height);
        nb->SetPages(captions);
        nb->SetPageIndex(0);
    }
    // The options dialog's notebook: 244 x 142, tabs on the left, four pages.
    void MakeOptionsNotebook() {
        nb->SetTabOrientation(TcsNotebook::toLeft);
        nb->SetTabsPerRow(4);
        nb->SetTabHeight(35);
        nb->SetCornerSize(3);
        nb->SetTextAlignment(TcsNotebook::taInvisible);
        nb->SetBitmapAlignment(TcsNotebook::baCentreMiddle);
        SetPages({"Hiding", "Sound", "Movement", "General"}, 244, 142);
        Paint();
    }
    // Tabs on one side, TabsPerRow 3, TabHeight 25, RowIndent 5, six pages.
    void MakeTwoRows(TcsNotebook::TTabOrientation side, int width, int height) {
        nb->SetTabOrientation(side);
        nb->SetTextAlignment(TcsNotebook::taInvisible);
        SetPages({"A", "B", "C", "D", "E", "F"}, width, height);
        Paint();
    }
    // The first erase makes the layout ready and computes the rectangles.
    QImage Paint() { return image = nb->PaintToImage(); }
    TcsPage* Page(int i) const { return nb->Page(i); }

    std::uint32_t At(int x, int y) const { return image.pixel(x, y) & 0xFFFFFFu; }
    static std::uint32_t Rgb(TColor c) { return ColorToPixel(c) & 0xFFFFFFu; }

    std::unique_ptr<TForm> form;
    TcsNotebook* nb = nullptr;
    QImage image;
};

} // namespace wt::test
