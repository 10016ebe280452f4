// Placing controls the way a dialog template does: positions and sizes in
// dialog units, which scale with the dialog's font (a horizontal unit is a
// quarter of the average character width, a vertical one an eighth of the
// character height), so the layout keeps its proportions on any display.
//
// The templates were drawn for a narrow 8-point font. With a wider font a
// text can outgrow the box the template gives it; then the whole layout is
// stretched horizontally by the one factor that makes every text fit, so
// nothing is cut off and nothing starts to overlap. Check boxes also get at
// least the height the toolkit needs to draw their indicator, around the
// same centre line.
#pragma once

#include <wx/font.h>
#include <wx/window.h>

#include <vector>

struct DluRect {
    int x;
    int y;
    int width;
    int height;
};

// The font every dialog of the program uses: the counterpart of the
// templates' 8-point "MS Sans Serif".
wxFont GetDialogFont();

class CTemplateLayout {
  public:
    enum class Fit {
        Box,     // the box as given (edit fields, group boxes)
        Text,    // a static text: its text must fit the box's width
        Control, // a check box: its preferred width and height must fit
        Button,  // a push button: its text plus a margin must fit
        Natural, // a picture: keeps its own pixel size at the position
    };

    // dialog is the window whose font defines the units; its client area
    // becomes widthDlu x heightDlu (stretched like everything else).
    CTemplateLayout(wxWindow* dialog, int widthDlu, int heightDlu);

    // Remembers where control goes; returns it for convenience.
    template <class T> T* Add(T* control, const DluRect& r, Fit fit) {
        m_items.push_back({control, r, fit});
        return control;
    }

    // Positions every control and sizes the dialog.
    void Finish();

  private:
    struct Item {
        wxWindow* pControl;
        DluRect rect;
        Fit fit;
    };
    int NeededWidth(const Item& item) const;

    wxWindow* m_pDialog;
    int m_nWidthDlu;
    int m_nHeightDlu;
    std::vector<Item> m_items;
};
