#include "prefs/lscript_generator.h"

#include "platform/replacing_file.h"

CStatus BuildLScriptText(const std::string& objectPath, std::string& text) {
    if (objectPath.find('"') != std::string::npos)
        return CStatus::Failure(
            "The path to the LWO/DXF object contains a double quote (\"), which would end "
            "the script's text and run the rest of the path as script code. Remove it and "
            "try again.");
    if (objectPath.find_first_of("\r\n") != std::string::npos)
        return CStatus::Failure(
            "The path to the LWO/DXF object contains a line break, which would split the "
            "script's statements. Remove it and try again.");
    std::string path = objectPath;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    text = "main\r\n{\r\n";
    text += "  save(\"" + path + "\");\r\n";
    text += "  info(\"OK - object was saved as " + path + "\");\r\n";
    text += "}"; // the last line has no line end
    return {};
}

std::string GetLScriptPath(const std::string& pluginDir) {
    return pluginDir + kLScriptFileName;
}

CStatus WriteLScript(const std::string& pluginDir, const std::string& objectPath) {
    std::string text;
    if (CStatus built = BuildLScriptText(objectPath, text); !built)
        return built;
    CReplacingFile file;
    CStatus status = file.Open(GetLScriptPath(pluginDir));
    if (status)
        status = file.Write(text.data(), text.size());
    if (status)
        status = file.Commit();
    return status;
}

std::string DescribeLScriptFailure(const std::string& pluginDir, const CStatus& failure) {
    return "Karvel.ls could not be created.\n\nFile: " + GetLScriptPath(pluginDir) +
           "\nReason: " + failure.GetReason();
}
