#include "dialogs/about.h"

#include "about_wfm.h"

#include <memory>

namespace wt {
namespace {

void TurnAndPlay(TAnimated* strip) {
    strip->SetReverse(!strip->Reverse());
    strip->SetPlay(true);
}

} // namespace

TfrmAbout::TfrmAbout(TComponent* owner) : TForm(owner) {
    Handler("FormShow", &TfrmAbout::FormShow);
    Handler("Timer1Timer", &TfrmAbout::Timer1Timer);
    Handler("Timer2Timer", &TfrmAbout::Timer2Timer);
    Handler("btnOkClick", &TfrmAbout::btnOkClick);
    Field("RzLabel1", RzLabel1);
    Field("RzLabel3", RzLabel3);
    Field("aniSide", aniSide);
    Field("aniTop", aniTop);
    Field("btnOk", btnOk);
    Field("Timer1", Timer1);
    Field("Timer2", Timer2);
    ReadForm(forms::about, QString::fromLatin1(forms::aboutFile));
}

void TfrmAbout::FormShow(TObject*) { aniSide->SetPlay(true); }

void TfrmAbout::Timer1Timer(TObject*) { TurnAndPlay(aniSide); }

void TfrmAbout::Timer2Timer(TObject*) { TurnAndPlay(aniTop); }

void TfrmAbout::btnOkClick(TObject*) { Close(); }

void ShowAbout(TComponent* owner) {
    // Freed when the modal loop ends, also when showing fails.
    std::unique_ptr<TfrmAbout> form(new TfrmAbout(owner));
    form->ShowModal();
}

} // namespace wt
