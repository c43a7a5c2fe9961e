#include "toolkit/controls/edit.h"

#include "toolkit/forms/application.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QValidator>

namespace wt {
namespace {

constexpr int kQtNoLimit = 32767;

// Converts typed text to the edit's character case as it is entered.
class TCaseValidator : public QValidator {
public:
    TCaseValidator(TEditCharCase charCase, QObject* parent) : QValidator(parent), case_(charCase) {}
    State validate(QString& input, int&) const override {
        input = case_ == TEdit::ecUpperCase ? input.toUpper() : input.toLower();
        return Acceptable;
    }

private:
    TEditCharCase case_;
};

} // namespace

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetClickOnMouseUp(true);
    SetBounds(0, 0, 121, 21);
}

QLineEdit* TEdit::LineEdit() const { return static_cast<QLineEdit*>(WidgetIfCreated()); }

QWidget* TEdit::CreateWidget(QWidget* parentWidget) {
    auto* edit = new QLineEdit(parentWidget);
    edit->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& text) { WidgetTextChanged(text); });
    return edit;
}

void TEdit::UpdateWidget() {
    TWinControl::UpdateWidget();
    QLineEdit* edit = LineEdit();
    if (!edit)
        return;
    ApplyEditStyle();
    if (edit->text() != Text()) {
        pushing_ = true;
        edit->setText(Text());
        pushing_ = false;
    }
}

void TEdit::ApplyEditStyle() {
    QLineEdit* edit = LineEdit();
    if (!edit)
        return;
    pushing_ = true;
    edit->setFrame(borderStyle_ != bsNoBorder);
    edit->setReadOnly(readOnly_);
    edit->setMaxLength(maxLength_ > 0 ? maxLength_ : kQtNoLimit);
    edit->setValidator(nullptr);
    delete edit->findChild<TCaseValidator*>();
    if (charCase_ != ecNormal)
        edit->setValidator(new TCaseValidator(charCase_, edit));
    if (passwordChar_.isEmpty()) {
        edit->setEchoMode(QLineEdit::Normal);
        edit->setStyleSheet(QString());
    } else {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1 }")
                                .arg(passwordChar_.at(0).unicode()));
    }
    pushing_ = false;
}

QString TEdit::Conformed(const QString& text) const {
    QString out = text;
    if (charCase_ == ecUpperCase)
        out = out.toUpper();
    else if (charCase_ == ecLowerCase)
        out = out.toLower();
    if (maxLength_ > 0 && out.size() > maxLength_)
        out.truncate(maxLength_);
    return out;
}

void TEdit::TextChanged() {
    const QString conformed = Conformed(Text());
    if (conformed != Text()) {
        SetText(conformed); // runs this again with the conformed text
        return;
    }
    TWinControl::TextChanged();
    if (QLineEdit* edit = LineEdit(); edit && edit->text() != Text()) {
        pushing_ = true;
        edit->setText(Text());
        pushing_ = false;
    }
    Change();
}

void TEdit::WidgetTextChanged(const QString& text) {
    if (pushing_)
        return;
    Guarded([&] { SetText(text); });
}

void TEdit::Loaded() {
    TWinControl::Loaded();
    if (Conformed(Text()) != Text())
        SetText(Conformed(Text()));
}

void TEdit::Change() { OnChange(this); }

namespace {

// The local files of a drag, empty when it carries none.
QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

} // namespace

bool TEdit::DragOver(TObject* source, int x, int y, TDragState state) {
    bool accept = true;
    OnDragOver(this, source, x, y, state, accept);
    return accept;
}

void TEdit::DragDrop(TObject* source, int x, int y) {
    if (auto* files = dynamic_cast<TDragObject*>(source); files && !files->Files().isEmpty())
        SetText(files->Files().front());
    OnDragDrop(this, source, x, y);
}

bool TEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != WidgetIfCreated())
        return TWinControl::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const QStringList files = LocalFiles(drag->mimeData());
        if (files.isEmpty())
            return TWinControl::eventFilter(watched, event); // text: Qt's own drop
        if (type == QEvent::DragEnter || !dragged_)
            dragged_ = std::make_unique<TDragObject>(files);
        dragX_ = drag->position().toPoint().x();
        dragY_ = drag->position().toPoint().y();
        bool accept = false;
        Guarded([&] {
            accept = DragOver(dragged_.get(), dragX_, dragY_,
                              type == QEvent::DragEnter ? dsDragEnter : dsDragMove);
        });
        drag->setAccepted(accept);
        if (accept)
            drag->acceptProposedAction();
        return true;
    }
    if (type == QEvent::DragLeave && dragged_) {
        const auto source = std::move(dragged_);
        Guarded([&] { DragOver(source.get(), dragX_, dragY_, dsDragLeave); });
        return true;
    }
    if (type == QEvent::Drop && dragged_) {
        auto* drop = static_cast<QDropEvent*>(event);
        const auto source = std::move(dragged_);
        const QPoint at = drop->position().toPoint();
        Guarded([&] { DragDrop(source.get(), at.x(), at.y()); });
        drop->acceptProposedAction();
        return true;
    }
    return TWinControl::eventFilter(watched, event);
}

void TEdit::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

void TEdit::SetCharCase(TEditCharCase value) {
    if (value == charCase_)
        return;
    charCase_ = value;
    if (Streaming())
        return;
    ApplyEditStyle();
    if (Conformed(Text()) != Text())
        SetText(Conformed(Text()));
}

void TEdit::SetMaxLength(int value) {
    if (value == maxLength_)
        return;
    maxLength_ = value;
    if (Streaming())
        return;
    ApplyEditStyle();
    if (Conformed(Text()) != Text())
        SetText(Conformed(Text()));
}

void TEdit::SetPasswordChar(const QString& value) {
    const QString one = value.left(1);
    if (one == passwordChar_)
        return;
    passwordChar_ = one;
    if (!Streaming())
        ApplyEditStyle();
}

void TEdit::SetReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    if (!Streaming())
        ApplyEditStyle();
}

void TEdit::SelectAll() {
    if (QLineEdit* edit = LineEdit())
        edit->selectAll();
}

int TEdit::SelStart() const {
    QLineEdit* edit = LineEdit();
    if (!edit)
        return 0;
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int TEdit::SelLength() const {
    QLineEdit* edit = LineEdit();
    return edit ? static_cast<int>(edit->selectedText().size()) : 0;
}

void TEdit::SetSelStart(int value) {
    if (QLineEdit* edit = Widget() ? LineEdit() : nullptr)
        edit->setCursorPosition(value);
}

void TEdit::SetSelLength(int value) {
    if (QLineEdit* edit = Widget() ? LineEdit() : nullptr)
        edit->setSelection(SelStart(), value);
}

} // namespace wt
