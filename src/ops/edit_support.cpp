#include "ops/edit_support.h"

#include "ui/message_box.h"

void ReportFailure(const std::string& first, const std::string& second) {
    PressAnyKey(kCentred, kCentred, first.c_str(), second.c_str());
}

bool AskYes(const std::string& first, const std::string& second) {
    return ConfirmYes(kCentred, kCentred, first.c_str(), second.c_str()) == 1;
}
