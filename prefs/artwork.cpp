#include "prefs/artwork.h"

#include <wx/dcmemory.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/icon.h>

#include <array>

namespace {

// Colours of the 16-colour VGA palette used by the artwork.
const wxColour kNavy(0, 0, 128);
const wxColour kTeal(0, 128, 128);
const wxColour kYellow(255, 255, 0);
const wxColour kOlive(128, 128, 0);
const wxColour kSilver(192, 192, 192);
const wxColour kWhite(255, 255, 255);
const wxColour kBlack(0, 0, 0);

// An isometric block (three visible faces) with its top corner at (x, y) and
// edge length size: the modelling subject of the plug-ins, a part.
void DrawBlock(wxDC& dc, int x, int y, int size) {
    const int half = size / 2;
    const std::array<wxPoint, 4> top{wxPoint(x, y), wxPoint(x + size, y + half),
                                     wxPoint(x, y + size), wxPoint(x - size, y + half)};
    const std::array<wxPoint, 4> left{wxPoint(x - size, y + half), wxPoint(x, y + size),
                                      wxPoint(x, y + 2 * size), wxPoint(x - size, y + size + half)};
    const std::array<wxPoint, 4> right{wxPoint(x, y + size), wxPoint(x + size, y + half),
                                       wxPoint(x + size, y + size + half),
                                       wxPoint(x, y + 2 * size)};
    dc.SetPen(wxPen(kBlack));
    dc.SetBrush(wxBrush(kYellow));
    dc.DrawPolygon(static_cast<int>(top.size()), top.data());
    dc.SetBrush(wxBrush(kOlive));
    dc.DrawPolygon(static_cast<int>(left.size()), left.data());
    dc.SetBrush(wxBrush(kSilver));
    dc.DrawPolygon(static_cast<int>(right.size()), right.data());
}

void DrawFittedText(wxDC& dc, const wxString& text, const wxColour& colour, wxFontWeight weight,
                    int largestPoints, const wxRect& area) {
    wxSize extent;
    for (int points = largestPoints; points >= 5; --points) {
        dc.SetFont(wxFontInfo(points).Family(wxFONTFAMILY_SWISS).Weight(weight));
        extent = dc.GetTextExtent(text);
        if (extent.x <= area.width && extent.y <= area.height) {
            break;
        }
    }
    dc.SetTextForeground(colour);
    dc.DrawText(text, area.x, area.y + (area.height - extent.y) / 2);
}

wxIcon MakeIcon(int size) {
    wxBitmap bitmap(size, size);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(kTeal));
        dc.Clear();
        const int edge = size * 7 / 16;
        DrawBlock(dc, size / 2, (size - 2 * edge) / 2, edge);
    }
    wxIcon icon;
    icon.CopyFromBitmap(bitmap);
    return icon;
}

} // namespace

wxBitmap MakeLogoBitmap() {
    wxBitmap bitmap(kLogoWidth, kLogoHeight);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kNavy));
    dc.Clear();
    DrawBlock(dc, 30, 10, 24);

    // Font metrics differ between systems: each text takes the largest size
    // that fits the space right of the block.
    DrawFittedText(dc, "BRASK", kWhite, wxFONTWEIGHT_BOLD, 14, wxRect(60, 14, 59, 24));
    DrawFittedText(dc, "plug-ins", kYellow, wxFONTWEIGHT_NORMAL, 8, wxRect(60, 42, 59, 14));
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

wxIconBundle MakeProgramIcons() {
    wxIconBundle icons;
    icons.AddIcon(MakeIcon(32));
    icons.AddIcon(MakeIcon(16));
    return icons;
}
