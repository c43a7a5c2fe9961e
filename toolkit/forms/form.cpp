#include "toolkit/forms/form.h"

#include "toolkit/core/classes.h"
#include "toolkit/core/reader.h"
#include "toolkit/forms/application.h"

#include "platform/platform.h"
#include "toolkit/forms/frame_hints.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace wt {

// The form's top-level widget: passes the window system's close requests,
// keys no control took and activation changes to its form.
class FormWidget : public QWidget {
public:
    FormWidget(TForm* form, QWidget* parent) : QWidget(parent, Qt::Window), form_(form) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (form_)
            Guarded([&] { form_->WindowCloseRequested(); });
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (form_)
            Guarded([&] { form_->KeyFromWindow(event); });
        else
            QWidget::keyPressEvent(event);
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange && form_)
            Guarded([&] { form_->ActivationChanged(isActiveWindow()); });
        QWidget::changeEvent(event);
    }

private:
    friend class TForm;
    TForm* form_;
};

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    StoreBounds(0, 0, 320 + 2 * BorderWidth(), 240 + 2 * BorderWidth() + CaptionHeight());
    Application()->AddForm(this);
}

TForm::~TForm() {
    SetState(ComponentState::Destroying, true);
    if (auto* w = dynamic_cast<FormWidget*>(WidgetIfCreated()))
        w->form_ = nullptr;
    Application()->RemoveForm(this);
    if (handle_ != 0 && PlatformInstalled()) { // none: its windows went with it
        ThePlatform().System().DetachWindow(handle_);
        handle_ = 0;
    }
}

void TForm::ReadForm(std::string_view text, const QString& fileName) {
    const QString source = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    TReader reader(this, fileName, &handlers_);
    const TFormObject description = ParseFormDescription(source, fileName);
    reader.Read(description);
    for (const FieldBinding& f : fields_) {
        // Fields may name components held deeper down (pages of a notebook).
        std::function<TComponent*(TComponent*)> find = [&](TComponent* in) -> TComponent* {
            if (TComponent* c = in->FindComponent(f.Name))
                return c;
            for (TComponent* c : in->Components())
                if (TComponent* deeper = find(c))
                    return deeper;
            return nullptr;
        };
        TComponent* c = find(this);
        QString problem;
        if (!c)
            problem = QStringLiteral("component %1 is missing").arg(f.Name);
        else if (!f.Assign(c))
            problem = QStringLiteral("component %1 is of the wrong class (%2)")
                          .arg(f.Name, ClassNameOf(c));
        if (!problem.isEmpty()) {
            while (!Components().empty())
                delete Components().back();
            throw EFormError(fileName, description.Line, problem);
        }
    }
    OnCreate(this);
}

// --- Frame and geometry ------------------------------------------------------

int TForm::BorderWidth() const {
    switch (borderStyle_) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return 4;
    default: return 3;
    }
}

int TForm::CaptionHeight() const {
    switch (borderStyle_) {
    case bsNone: return 0;
    case bsToolWindow:
    case bsSizeToolWin: return 15;
    default: return 19;
    }
}

TRect TForm::ClientRect() const {
    return {0, 0, std::max(0, Width() - 2 * BorderWidth()),
            std::max(0, Height() - 2 * BorderWidth() - CaptionHeight())};
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_)
        return;
    // The client area keeps its size; the frame grows or shrinks around it.
    const TRect client = ClientRect();
    borderStyle_ = value;
    StoreBounds(Left(), Top(), client.Width() + 2 * BorderWidth(),
                client.Height() + 2 * BorderWidth() + CaptionHeight());
    if (!Streaming() && WidgetIfCreated())
        UpdateWidget();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    if (value == borderIcons_)
        return;
    borderIcons_ = value;
    if (!Streaming() && WidgetIfCreated())
        ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle value) {
    if (value == formStyle_)
        return;
    formStyle_ = value;
    if (!Streaming() && WidgetIfCreated())
        ApplyWindowFlags();
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_)
        return;
    if (control && !Streaming() && !ContainsControl(control))
        throw EInvalidOperation("The active control must be on its form");
    activeControl_ = control;
    if (control && !Streaming() && Visible() && WidgetIfCreated() && control->CanFocus())
        control->SetFocus();
}

// --- Widget ----------------------------------------------------------------

QWidget* TForm::CreateWidget(QWidget*) {
    auto* w = new FormWidget(this, Application()->OwnerWidget());
    w->setAutoFillBackground(true);
    return w;
}

void TForm::UpdateWidget() {
    QWidget* w = WidgetIfCreated();
    if (!w)
        return;
    w->setWindowTitle(Caption());
    ApplyWindowFlags();
    TWinControl::UpdateWidget();
    if (handle_ == 0) {
        const auto nativeId = static_cast<std::uintptr_t>(w->winId());
        handle_ = ThePlatform().System().AttachWindow(
            nativeId, ToStd(ClassNameOf(this)), [this](const WindowMessage& m) {
                Guarded([&] { Perform(m.Msg, m.WParam, m.LParam); });
            });
        AskFrame(); // now that the window exists
    }
}

void TForm::ApplyWindowFlags() {
    QWidget* w = WidgetIfCreated();
    if (!w)
        return;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if (borderStyle_ == bsDialog)
        flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
        flags = Qt::Tool | Qt::CustomizeWindowHint;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint;
        if (borderIcons_ & biSystemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            const bool minMax = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
            if (minMax && (borderIcons_ & biMinimize))
                flags |= Qt::WindowMinimizeButtonHint;
            if (minMax && (borderIcons_ & biMaximize))
                flags |= Qt::WindowMaximizeButtonHint;
            if (!minMax && (borderIcons_ & biHelp))
                flags |= Qt::WindowContextHelpButtonHint;
        }
    }
    if (formStyle_ == fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    if (w->windowFlags() != flags) {
        const bool shown = w->isVisible();
        w->setWindowFlags(flags); // hides the window
        if (shown)
            w->show();
    }
    AskFrame();
}

void TForm::AskFrame() {
    const bool sizeable = borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
    const bool minMax = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
    const bool menu = borderStyle_ != bsNone && (borderIcons_ & biSystemMenu);
    TFrameFunctions functions;
    functions.Title = borderStyle_ != bsNone;
    functions.Resize = sizeable;
    functions.Close = menu;
    functions.Minimize = menu && minMax && (borderIcons_ & biMinimize);
    functions.Maximize = menu && minMax && (borderIcons_ & biMaximize);
    AskFrameFunctions(WidgetIfCreated(), functions);
}

void TForm::ApplyBounds() {
    QWidget* w = WidgetIfCreated();
    if (!w)
        return;
    const TRect client = ClientRect();
    const bool fixed = borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin;
    if (fixed)
        w->setFixedSize(client.Width(), client.Height());
    else {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    w->setGeometry(Left() + BorderWidth(), Top() + BorderWidth() + CaptionHeight(), client.Width(),
                   client.Height());
}

void TForm::VisibleChanged() {
    if (Visible()) {
        Widget();
        widgetReady_ = WidgetIfCreated() != nullptr;
    }
    ApplyVisible();
}

void TForm::ApplyVisible() {
    QWidget* w = WidgetIfCreated();
    if (!w || !widgetReady_)
        return;
    if (!Visible()) {
        if (w->isVisible()) {
            if (handle_)
                ThePlatform().Windows().AwaitShown(handle_);
            w->hide();
            OnHide(this);
        }
        return;
    }
    if (w->isVisible())
        return;
    if (position_ == poScreenCenter || (position_ == poDefault && !placed_)) {
        int screenW = 640, screenH = 480;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            screenW = screen->geometry().width();
            screenH = screen->geometry().height();
        }
        StoreBounds((screenW - Width()) / 2, (screenH - Height()) / 2, Width(), Height());
        ApplyBounds();
    }
    placed_ = true;
    OnShow(this);
    if (!Visible()) // OnShow may hide it again
        return;
    if (handle_)
        ThePlatform().Windows().AwaitWithdrawn(handle_);
    w->show();
    w->raise();
    w->activateWindow();
    FocusFirst();
}

void TForm::FocusFirst() {
    if (activeControl_ && activeControl_->CanFocus()) {
        activeControl_->SetFocus();
        return;
    }
    if (TWinControl* first = FindNextControl(nullptr, true, true))
        first->SetFocus();
}

void TForm::TextChanged() {
    if (QWidget* w = WidgetIfCreated())
        w->setWindowTitle(Caption());
}

WindowHandle TForm::Handle() {
    Widget();
    widgetReady_ = WidgetIfCreated() != nullptr;
    return handle_;
}

void TForm::Loaded() {
    TWinControl::Loaded();
    if (Visible())
        Show();
}

std::vector<TComponent*> TForm::StreamedChildren(TComponent* root) const {
    std::vector<TComponent*> out = TWinControl::StreamedChildren(root);
    // What the form owns without being placed in a control: timers, INI
    // components, controls not yet placed.
    for (TComponent* c : Components()) {
        auto* control = dynamic_cast<TControl*>(c);
        auto* item = qobject_cast<TMenuItem*>(c);
        if (item ? !item->Parent() : !control || !control->Parent())
            out.push_back(c); // items in a menu are written inside it
    }
    return out;
}

// --- Showing and closing --------------------------------------------------------

void TForm::Show() {
    if (!Visible()) {
        SetVisible(true);
        return;
    }
    Widget();
    widgetReady_ = WidgetIfCreated() != nullptr;
    ApplyVisible();
}

void TForm::Hide() { SetVisible(false); }

int TForm::ShowModal() {
    if (Visible() || modal_)
        throw EInvalidOperation("Cannot make a visible window modal");
    modal_ = true;
    modalResult_ = 0;
    QWidget* w = Widget();
    if (w)
        w->setWindowModality(Qt::ApplicationModal);
    try {
        Show();
        while (modalResult_ == 0) {
            if (!RunModalLoop())
                modalResult_ = mrCancel; // terminating: no OnCloseQuery may refuse
            else if (modalResult_ != 0)
                CloseModal();
        }
    } catch (...) {
        modal_ = false;
        if (QWidget* widget = WidgetIfCreated())
            widget->setWindowModality(Qt::NonModal);
        Hide();
        throw;
    }
    modal_ = false;
    Hide();
    if (QWidget* widget = WidgetIfCreated())
        widget->setWindowModality(Qt::NonModal);
    return modalResult_;
}

bool TForm::RunModalLoop() {
    if (Application()->Terminated())
        return false;
    // A QEventLoop, not a loop of processEvents calls: QCoreApplication::exit()
    // ends every running QEventLoop, this one too, and one started while the
    // application exits returns at once. So a quit request ends the dialog
    // and the stack unwinds before the host frees what the dialog uses.
    QEventLoop loop;
    // Posted platform messages can wait without a Qt event to wake the loop
    // (the simulated desktop's queue): they are delivered before every wait.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &loop,
                         [] { Guarded([] { ThePlatform().System().ProcessMessages(); }); });
    modalLoop_ = &loop;
    modalLoopEnded_ = false;
    try {
        for (;;) {
            try {
                loop.exec();
                break;
            } catch (const std::exception& e) {
                // A failure that escaped an event handler: reported, and the
                // dialog stays as it was.
                Application()->HandleException(e);
                if (modalLoopEnded_)
                    break;
            }
        }
    } catch (...) {
        modalLoop_ = nullptr;
        throw;
    }
    modalLoop_ = nullptr;
    return modalLoopEnded_ && !Application()->Terminated();
}

void TForm::SetModalResult(int value) {
    modalResult_ = value;
    if (value != 0 && modalLoop_) {
        modalLoopEnded_ = true;
        modalLoop_->exit();
    }
}

void TForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            OnClose(this, action);
        }
        if (action == caNone)
            modalResult_ = 0;
        else if (action == caFree)
            Release();
    } catch (const std::exception& e) {
        modalResult_ = 0;
        Application()->HandleException(e);
    }
}

bool TForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close() {
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    OnClose(this, action);
    if (action == caHide || action == caMinimize)
        Hide();
    else if (action == caFree)
        Release();
}

void TForm::Release() {
    if (releasing_)
        return;
    releasing_ = true;
    QMetaObject::invokeMethod(
        this, [this] { delete this; }, Qt::QueuedConnection);
}

void TForm::WindowCloseRequested() {
    // Without a system menu the window has no close box, and no close
    // request of the window system closes it either.
    if (borderStyle_ != bsNone && !(borderIcons_ & biSystemMenu))
        return;
    Close();
}

void TForm::ActivationChanged(bool active) {
    if (active)
        OnActivate(this);
    else
        OnDeactivate(this);
}

bool TForm::DialogKey(std::uint16_t key, TShiftState shift) {
    TMessage m;
    m.Msg = CM_DIALOGKEY;
    m.WParam = key;
    m.LParam = shift.toInt();
    Broadcast(m);
    return m.Result != 0;
}

bool TForm::DialogChar(QChar ch, bool alt) {
    TMessage m;
    m.Msg = CM_DIALOGCHAR;
    m.WParam = ch.unicode();
    m.LParam = alt ? 1 : 0;
    Broadcast(m);
    return m.Result != 0;
}

void TForm::KeyFromWindow(QKeyEvent* event) {
    const std::uint16_t key = VirtualKeyOf(event->key());
    const TShiftState shift = ShiftOf(event->modifiers());
    if (key == VK_RETURN || key == VK_ESCAPE) {
        if (DialogKey(key, shift)) {
            event->accept();
            return;
        }
        // A dialog without a cancel button closes on Escape as its close box
        // closes it.
        if (key == VK_ESCAPE && modal_ && shift == TShiftState{}) {
            event->accept();
            WindowCloseRequested();
            return;
        }
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0].isPrint()) {
        if (DialogChar(text[0], shift.testFlag(ssAlt))) {
            event->accept();
            return;
        }
    }
    event->ignore();
}

void TForm::FocusChanged(TWinControl* control) {
    activeControl_ = control;
    std::function<void(TWinControl*)> tell = [&](TWinControl* container) {
        const std::vector<TControl*> children = container->Controls();
        for (TControl* c : children) {
            c->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<std::intptr_t>(control));
            if (auto* w = dynamic_cast<TWinControl*>(c))
                tell(w);
        }
    };
    tell(this);
}

TForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent())
        c = c->Parent();
    return c ? dynamic_cast<TForm*>(const_cast<TControl*>(c)) : nullptr;
}

} // namespace wt
