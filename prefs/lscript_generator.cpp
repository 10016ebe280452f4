#include "lscript_generator.h"

#include "replacing_file.h"

bool BuildLScriptText(const std::string& objectPath, std::string& text, std::string& reason) {
    if (objectPath.find('"') != std::string::npos) {
        reason = "The path to the LWO/DXF object contains a double quote (\"), which would end "
                 "the script's text and run the rest of the path as script code. Remove it and "
                 "try again.";
        return false;
    }
    if (objectPath.find_first_of("\r\n") != std::string::npos) {
        reason = "The path to the LWO/DXF object contains a line break, which would split the "
                 "script's statements. Remove it and try again.";
        return false;
    }
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
    return true;
}

LScriptResult WriteLScript(const std::string& pluginDir, const std::string& objectPath) {
    LScriptResult result;
    result.strFile = pluginDir + kLScriptFileName;

    std::string text;
    if (!BuildLScriptText(objectPath, text, result.strReason)) {
        return result;
    }

    CReplacingFile file;
    if (!file.Open(result.strFile) || !file.Write(text.data(), text.size()) || !file.Commit()) {
        result.strReason = file.GetError();
        return result;
    }
    result.bOk = true;
    return result;
}
