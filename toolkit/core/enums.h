// The enumeration and set types of published properties, known to the
// property system by name so that form descriptions can spell their values
// (alClient, clBtnFace, [fsBold]). Units that need an enumeration of their
// own declare it in their class with Q_ENUM; this namespace holds the shared ones.
#pragma once

#include <QObject>

#include <cstdint>

namespace wt {
inline namespace ui {
Q_NAMESPACE

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

// Screen cursors by number; numbers of registered custom cursors (31000, ...)
// are valid values without a name.
enum TCursor : std::int16_t {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSize = -5,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
};
Q_ENUM_NS(TCursor)

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)

enum TShiftFlag {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
Q_DECLARE_FLAGS(TShiftState, TShiftFlag)
Q_FLAG_NS(TShiftState)

enum TMouseButton { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
};
Q_ENUM_NS(TModalResult)

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)

enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_FLAG_NS(TBorderIcons)

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };
Q_ENUM_NS(TPosition)

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
Q_ENUM_NS(TFormStyle)

enum TCloseAction { caNone, caHide, caFree, caMinimize };
Q_ENUM_NS(TCloseAction)

// Control border of edits, memos, list boxes (bsNone / bsSingle of the class
// library); a separate name because TFormBorderStyle already uses those.
enum TBorderStyle { bsNoBorder = 0, bsSingleBorder = 1 };
Q_ENUM_NS(TBorderStyle)

// How a drag starts at a control: from code (BeginDrag), or by itself when
// the left button goes down on it.
enum TDragMode { dmManual, dmAutomatic };
Q_ENUM_NS(TDragMode)

} // namespace ui
} // namespace wt

Q_DECLARE_OPERATORS_FOR_FLAGS(wt::ui::TFontStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(wt::ui::TShiftState)
Q_DECLARE_OPERATORS_FOR_FLAGS(wt::ui::TBorderIcons)
