#pragma once

#include <string>

namespace rv {

// What a person is told when a CD look-up ends without a disc to file, in one message box.
struct TCddbFailure {
    std::string Text;
    bool NoMatch = false;  // the site knows no such disc: no error, only the answer
};

// The look-up's step that ended: the query, or the read of the chosen entry.
enum class TCddbStep { Query, Read };

// Made of the CDDB client's last status (which says why in its own words, a failed request's
// reason quoted after the client's internal prefix) and the last error answer of the server, if
// any ("403 ..."), which is added when it says more than the status.
TCddbFailure CddbFailure(TCddbStep step, const std::string& status,
                         const std::string& serverAnswer);

}  // namespace rv
