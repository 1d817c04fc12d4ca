#include "sysinfo/native_names.h"

namespace rv {

const std::array<std::string_view, 27> ObjectTypeNames = {
    "Unknown",    "Type",           "Directory",     "Symbolic Link",  "Token",      "Process",
    "Thread",     "Unknown 7",      "Event",         "Event Pair",     "Mutant",     "Unknown 11",
    "Semaphore",  "Timer",          "Profile",       "Window Station", "Desktop",    "Section",
    "Key",        "Port",           "Waitable Port", "Unknown 21",     "Unknown 22", "Unknown 23",
    "Unknown 24", "I/O Completion", "File"};

const std::array<std::string_view, 8> ThreadStateNames = {
    "Initialized", "Ready", "Running", "Standby", "Terminated", "Wait", "Transition", "Unknown"};

// In the order of the kernel's wait reasons.
const std::array<std::string_view, 28> WaitReasonNames = {
    "Executive",        "FreePage",         "PageIn",           "PoolAllocation",  "DelayExecution",
    "Suspended",        "UserRequest",      "WrExecutive",      "WrFreePage",      "WrPageIn",
    "WrPoolAllocation", "WrDelayExecution", "WrSuspended",      "WrUserRequest",   "WrEventPair",
    "WrQueue",          "WrLpcReceive",     "WrLpcReply",       "WrVirtualMemory", "WrPageOut",
    "WrRendezvous",     "Spare2",           "Spare3",           "Spare4",          "Spare5",
    "Spare6",           "WrKernel",         "MaximumWaitReason"};

}  // namespace rv
