// The export command: the body of Brask_Export's ExecutePlugin. Reads the
// host's scene from the exchange file (never writes it back), reads the five
// export settings, asks for the output file unless a default is configured,
// writes the scene as DXF and shows the summary when configured.
#pragma once

class CApplication;

// The Save As dialog's filter and default extension.
inline constexpr const char* kDxfFileFilter = "DXF Object (*.dxf)|*.dxf|All Files (*.*)|*.*";
inline constexpr const char* kDxfDefaultExt = ".dxf";

// Always returns 2, the export plug-in's answer to the host. Failures reach
// the user as a stop message box naming the file and the reason: a damaged
// exchange file (nothing is written) and an output file that cannot be
// written (no summary; an existing file of that name is left whole). May
// throw only what memory exhaustion throws; ExecutePlugin guards for that.
int RunExportCommand(CApplication& app);
