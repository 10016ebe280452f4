#include "platform/win32/answers_file.h"

#include "platform/console_dialogs.h"
#include "platform/scripted_dialogs.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

CStatus ParseAnswers(const std::string& text, std::unique_ptr<CUserDialogs>& dialogs) {
    std::deque<std::string> answers;
    std::optional<std::string> openPath;
    std::optional<std::string> savePath;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        if (line == "yes" || line == "no")
            answers.push_back(line);
        else if (line.starts_with("open="))
            openPath = line.substr(5);
        else if (line.starts_with("save="))
            savePath = line.substr(5);
        else
            return CStatus::Failure("line " + std::to_string(number) +
                                    " is none of yes, no, open=PATH, save=PATH");
    }
    dialogs = std::make_unique<CScriptedDialogs>(
        std::move(answers), std::move(openPath), std::move(savePath),
        std::make_unique<CNonInteractiveDialogs>(std::cerr));
    return {};
}

CStatus LoadAnswersFile(const std::string& path, std::unique_ptr<CUserDialogs>& dialogs) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return CStatus::Failure("cannot open \"" + path + "\": " + std::strerror(errno), errno);
    std::ostringstream text;
    text << in.rdbuf();
    if (const CStatus parsed = ParseAnswers(text.str(), dialogs); !parsed)
        return CStatus::Failure("\"" + path + "\": " + parsed.GetReason());
    return {};
}
