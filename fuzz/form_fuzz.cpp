// The form-description reader on random text and on mutations of the real
// forms: reading gives a form or an EFormError, nothing else; a failed read
// leaves no component behind; a form that was read is written back and
// reads again.
#include "fuzz/fuzz_support.h"

#include "platform/platform.h"
#include "platform/sim/sim_platform.h"
#include "toolkit/core/formdesc.h"
#include "toolkit/core/reader.h"
#include "toolkit/core/writer.h"
#include "toolkit/forms/form.h"

// Every class the forms of the system are made of, registered by their headers.
#include "settings/EasyINI.h"
#include "toolkit/controls/bevel.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/drivecombo.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/image.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/listbox.h"
#include "toolkit/controls/memo.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/radiogroup.h"
#include "toolkit/controls/speedbutton.h"
#include "toolkit/controls/spinedit.h"
#include "toolkit/controls/timer.h"
#include "widgets/Animate.h"
#include "widgets/CDKROMem.h"
#include "widgets/DODPathE.h"
#include "widgets/DODRotat.h"
#include "widgets/DOD_Comp.h"
#include "widgets/Rzlabel.h"
#include "widgets/notebook/CSNoteBk.h"

#include <functional>
#include <memory>

namespace wt::fuzz {
namespace {

// The root every description is read into, whatever class it names: its
// handlers are the names the description binds events to.
class FuzzForm : public TForm {
public:
    explicit FuzzForm(const TFormObject& description) {
        std::function<void(const TFormObject&)> bind = [&](const TFormObject& object) {
            for (const TFormProperty& p : object.Properties)
                if (p.Name.startsWith(QLatin1String("On"), Qt::CaseInsensitive) &&
                    p.Value.Type == TFormValue::Ident)
                    Handler(p.Value.Text, &FuzzForm::Notify);
            for (const TFormObject& child : object.Children)
                bind(child);
        };
        bind(description);
    }
    void Notify(TObject*) {}
};

// Reads the description into a new root; the root when it was read, null
// after an EFormError, whose message goes to error.
std::unique_ptr<FuzzForm> ReadInto(TFormObject description, QString* error) {
    description.ClassName = ClassNameOf(&TForm::staticMetaObject);
    auto form = std::make_unique<FuzzForm>(description);
    try {
        TReader reader(form.get(), QStringLiteral("fuzz.wfm"), &form->Handlers());
        reader.Read(description);
    } catch (const EFormError& e) {
        Check(form->Components().empty(), "a failed read left components behind");
        *error = QStringLiteral("line %1: %2").arg(e.Line()).arg(e.What());
        return nullptr;
    }
    return form;
}

} // namespace
} // namespace wt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wt::fuzz::EnsureApplication();
    wt::InstallPlatform(std::make_unique<wt::SimPlatform>(wt::fuzz::WorkDirectory()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wt;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TFormObject description;
    try {
        description = ParseFormDescription(text, QStringLiteral("fuzz.wfm"));
    } catch (const EFormError&) {
        return 0;
    }
    QString error;
    std::unique_ptr<fuzz::FuzzForm> form = fuzz::ReadInto(description, &error);
    if (!form)
        return 0;
    const QString written = WriteFormDescription(form.get());
    TFormObject again;
    try {
        again = ParseFormDescription(written, QStringLiteral("written.wfm"));
    } catch (const EFormError& e) {
        fuzz::Fail("a form written back does not parse: " + e.What().toStdString());
    }
    // The handlers the first read bound are named in the written form too.
    if (!fuzz::ReadInto(again, &error))
        fuzz::Fail("a form written back does not read again, " + error.toStdString() + ":\n" +
                   written.toStdString());
    return 0;
}
