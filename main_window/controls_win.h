// The control kinds the window needs beyond the system's own: the dark title panel, the
// image button (picture left of its caption, optionally flat) and the speed button (picture
// above a word-wrapped caption, never takes focus), plus the plumbing that lets group boxes
// hold controls.
#pragma once

#include <windows.h>

#include <string>

#include "main_window/pictures_win.h"

namespace orvalis {

inline constexpr char kPanelClass[] = "OrvalisPanel";
inline constexpr char kSpeedButtonClass[] = "OrvalisSpeedButton";

// Registers the panel and speed-button classes once per process.
void RegisterControlClasses(HINSTANCE instance);

// The panel colours its labels: the text colour of a child static control.
void SetPanelLabelColour(HWND label, COLORREF colour);

// Lets a container (a group box) pass its children's notifications, drawing requests and
// colour questions on to its own parent, and paint its background in the button-face colour.
void ForwardChildMessages(HWND container);

// Image buttons are owner-drawn system buttons; this tracks the mouse over them so that a
// flat one can raise itself while hovered.
void TrackButtonHover(HWND button);

// Draws an owner-drawn image button: picture left of the caption, the pair centred.
void DrawImageButton(const DRAWITEMSTRUCT& item, const Picture& picture, bool flat);

// Creates a speed button showing picture above its caption. The picture must outlive it.
HWND CreateSpeedButton(HWND parent, int id, const std::string& caption, const RECT& bounds,
                       const Picture* picture);

// The control's caption as 8-bit text.
std::string WindowTextOf(HWND window);

// Line breaks as the caption draws them: "\r\n", "\n\r", a lone "\n" or "\r" each give one.
std::string CaptionForDrawing(const std::string& caption);

}  // namespace orvalis
