#include "prefs/artwork.h"
#include "prefs/block_shape.h"

#include <wx/dcmemory.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/icon.h>

#include <array>

namespace {

wxColour Colour(std::uint32_t rgb) {
    return wxColour(static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                    static_cast<unsigned char>(rgb));
}

const wxColour kNavy = Colour(kArtNavy);
const wxColour kYellow = Colour(kArtYellow);
const wxColour kWhite = Colour(kArtWhite);

void DrawFaces(wxDC& dc, const std::array<CBlockFace, 3>& faces) {
    dc.SetPen(wxPen(Colour(kArtBlack)));
    for (const CBlockFace& face : faces) {
        std::array<wxPoint, 4> corners;
        for (std::size_t i = 0; i < corners.size(); ++i)
            corners[i] = wxPoint(face.m_corners[i][0], face.m_corners[i][1]);
        dc.SetBrush(wxBrush(Colour(face.m_nRgb)));
        dc.DrawPolygon(static_cast<int>(corners.size()), corners.data());
    }
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
        dc.SetBackground(wxBrush(Colour(kIconBackground)));
        dc.Clear();
        DrawFaces(dc, IconBlockFaces(size));
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
    DrawFaces(dc, BlockFaces(30, 10, 24));

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
