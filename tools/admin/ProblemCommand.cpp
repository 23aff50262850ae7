// tarn-admin problems, events and problem: the problems of the history
// database with their events, and removing a problem.
#include "AdminSession.h"

#include <algorithm>

namespace {

int ProblemsUsage() {
    std::cerr
        << "usage: tarn-admin problems [--open | --unresolved | --resolved] [--since TIME]\n"
           "       [--audition ID]  [--home DIR] [--json]   (TIME: YYYYMMDDhhmmss or a prefix)\n";
    return 2;
}

struct ProblemFilter {
    int32_t status = 0; // 0: every status
    std::string since;  // a time stamp or its prefix
    int32_t audition = 0;
};

bool IsDigits(const std::string& text) {
    return !text.empty() && text.size() <= 14 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ParseFilter(const std::vector<std::string>& words, ProblemFilter& filter) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "--open")
            filter.status = PROBLEM_OPEN;
        else if (word == "--unresolved")
            filter.status = PROBLEM_UNRESOLVED;
        else if (word == "--resolved")
            filter.status = PROBLEM_RESOLVED;
        else if (word == "--since" && hasValue && IsDigits(words[i + 1]))
            filter.since = words[++i];
        else if (!(word == "--audition" && hasValue && ParseKey(words[++i], filter.audition)))
            return false;
    }
    return true;
}

bool Passes(const DBHProblem& problem, const ProblemFilter& filter) {
    return (filter.status == 0 || problem.PROBLEM_STATUS == filter.status) &&
           problem.PROBLEM_BEGIN >= filter.since &&
           (filter.audition == 0 || problem.AUDITION_ID == filter.audition);
}

nlohmann::ordered_json ToJson(const DBHProblem& problem) {
    return {
        {"PROBLEM_ID", problem.PROBLEM_ID},
        {"PROBLEM_STATUS", problem.PROBLEM_STATUS},
        {"STATUS_NAME", GetProblemStatusName(static_cast<ProblemStatus>(problem.PROBLEM_STATUS))},
        {"PROBLEM_BEGIN", problem.PROBLEM_BEGIN},
        {"PROBLEM_END", problem.PROBLEM_END},
        {"MAX_DURATION", problem.MAX_DURATION},
        {"ERROR_COUNT", problem.ERROR_COUNT},
        {"AUDITION_ID", problem.AUDITION_ID},
        {"AUDITION_NAME", problem.AUDITION_NAME},
        {"COMPUTER_NAME", problem.COMPUTER_NAME},
        {"PROBLEM_DESCRIPTION", problem.PROBLEM_DESCRIPTION}};
}

nlohmann::ordered_json ToJson(const DBHEvent& event) {
    return {{"EVENT_ID", event.EVENT_ID},
            {"DATE", event.DATE},
            {"COMPUTER", event.COMPUTER},
            {"SOURCE", event.SOURCE},
            {"SOURCE_NAME", event.SOURCE_NAME},
            {"SOURCE_MODULE_NAME", event.SOURCE_MODULE_NAME},
            {"TYPE", event.TYPE},
            {"CATEGORY", event.CATEGORY},
            {"INFO_ID", event.INFO_ID},
            {"EVENT_DESCRIPTION", event.EVENT_DESCRIPTION},
            {"PROBLEM_ID", event.PROBLEM_ID}};
}

// Reads the problem ID (a usage error when it is no number, 1 when missing).
int ReadProblem(CDBEngineTARN& database, const std::string& word, DBHProblem& problem) {
    int32_t key = 0;
    if (!ParseKey(word, key))
        return 2;
    if (!database.GetProblem(key, problem) || problem.PROBLEM_ID != key) {
        std::cerr << "tarn-admin: no problem " << word << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunProblems(const AdminArgs& args) {
    AdminSession session;
    ProblemFilter filter;
    if (!ParseSessionOptions(args, session) || !ParseFilter(session.words, filter))
        return ProblemsUsage();
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    DBHProblemList problems;
    if (!database || !database->GetAllProblems(0, 0, problems))
        return 1;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    std::vector<std::vector<std::string>> rows{
        {"ID", "STATUS", "BEGIN", "END", "AUDITION", "COMPUTER", "DESCRIPTION"}};
    for (const DBHProblem& problem : problems) {
        if (!Passes(problem, filter))
            continue;
        array.push_back(ToJson(problem));
        rows.push_back({std::to_string(problem.PROBLEM_ID),
                        GetProblemStatusName(static_cast<ProblemStatus>(problem.PROBLEM_STATUS)),
                        problem.PROBLEM_BEGIN, problem.PROBLEM_END, problem.AUDITION_NAME,
                        problem.COMPUTER_NAME, problem.PROBLEM_DESCRIPTION});
    }
    PrintJsonOrTable(session.json, array, rows);
    return 0;
}

int RunEvents(const AdminArgs& args) {
    AdminSession session;
    if (!ParseSessionOptions(args, session) || session.words.size() != 1) {
        std::cerr << "usage: tarn-admin events PROBLEM_ID  [--home DIR] [--json]\n";
        return 2;
    }
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    if (!database)
        return 1;
    DBHProblem problem;
    if (const int status = ReadProblem(*database, session.words[0], problem))
        return status;
    DBHEventList events;
    if (!database->GetProblemEventEntries(problem.PROBLEM_ID, events))
        return 1;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    std::vector<std::vector<std::string>> rows{{"ID", "DATE", "COMPUTER", "SOURCE", "DESCRIPTION"}};
    for (const DBHEvent& event : events) {
        array.push_back(ToJson(event));
        rows.push_back({std::to_string(event.EVENT_ID), event.DATE, event.COMPUTER,
                        event.SOURCE_NAME, event.EVENT_DESCRIPTION});
    }
    PrintJsonOrTable(session.json, array, rows);
    return 0;
}

int RunProblem(const AdminArgs& args) {
    AdminSession session;
    if (!ParseSessionOptions(args, session) || !MatchesVerb(session.words, {{"remove", 1, 1}})) {
        std::cerr << "usage: tarn-admin problem remove ID  [--home DIR]\n";
        return 2;
    }
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    if (!database)
        return 1;
    DBHProblem problem;
    if (const int status = ReadProblem(*database, session.words[1], problem))
        return status;
    return database->DeleteProblem(problem.PROBLEM_ID) ? 0 : 1;
}
