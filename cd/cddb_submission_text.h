#pragma once

#include <string>
#include <string_view>
#include <vector>

// The texts of a submission to a CDDB server's database.
namespace rv {

// The values a submission's header carries. Texts are UTF-8.
struct TCddbSubmission {
    std::string Category;
    std::string DiscID;
    std::string EmailUser;
    std::string Mode;  // "test" or "submit"
    std::string Note;
};

// The name of the first value that holds a CR or LF, which would end its header line and start
// another of the sender's making; empty when none does.
std::string LineBreakIn(const TCddbSubmission& submission);

// The lines a submission adds to the header of its POST, each after CR LF: "Category",
// "Discid", "User-Email", "Submit-Mode" and "X-Cddbd-Note", in ISO-8859-1.
std::string CddbSubmitHeader(const TCddbSubmission& submission);

// The path of the server's submission program: "submit.cgi" in the folder of its query program.
std::string CddbSubmitPath(std::string_view queryPath);

// The entry's lines in ISO-8859-1, the protocol's character set.
std::vector<std::string> CddbEntryLines(const std::vector<std::string>& entry);

}  // namespace rv
