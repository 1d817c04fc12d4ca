#include "app/cddb_failure.h"

#include "cd/cddb.h"
#include "platform/text/ascii_case.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

constexpr std::string_view kNoMatch = "No match found";

// The reason a failed request gives, without the client's prefix around it.
std::string Reason(std::string status) {
    if (!status.starts_with(kCddbInternalError)) return status;
    status.erase(0, std::string_view(kCddbInternalError).size());
    const std::size_t quote = status.find('"');
    if (status.starts_with("THttpCli.") && quote != std::string::npos && status.ends_with('"'))
        return status.substr(quote + 1, status.size() - quote - 2);
    return status;
}

// Whether the server's answer line says no more than `why`: its text after the code begins with
// it, letter case aside.
bool SaysNoMore(const std::string& answer, const std::string& why) {
    const std::string text = Trim(answer.size() > 4 ? answer.substr(4) : std::string());
    return text.size() >= why.size() && SameText(text.substr(0, why.size()), why);
}

}  // namespace

TCddbFailure CddbFailure(TCddbStep step, const std::string& status,
                         const std::string& serverAnswer) {
    if (step == TCddbStep::Query && status == kNoMatch)
        return {"No match found: the CDDB site knows no entry for the disc in the drive.", true};
    std::string why = Reason(status);
    if (why.starts_with("407"))
        why = "The proxy server refused the user name and password of the settings (" + why + ")";
    if (why.empty()) why = "The CDDB site gave no reason";
    std::string text = step == TCddbStep::Query ? "The CDDB query failed: "
                                                : "The disc's entry could not be read from CDDB: ";
    text += why;
    if (!why.ends_with('.') && !why.ends_with('!') && !why.ends_with('?')) text += '.';
    if (!serverAnswer.empty() && !SaysNoMore(serverAnswer, why))
        text += "\n\nThe server answered: " + serverAnswer;
    return {text, false};
}

}  // namespace rv
