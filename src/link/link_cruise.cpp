#include <windows.h>

#include "link/link_collection.h"

namespace quorin {

void LinkCollection::resolveCruiseSteps() {
    if (!settings_) return;
    for (CruiseEntry& step : settings_->LinkCruise) {
        step.index = -1;
        for (std::size_t i = 0; i < linkTypes_.size(); ++i) {
            if (lstrcmpW(linkTypes_[i].Title.c_str(), step.Title.c_str()) == 0) {
                step.index = static_cast<int>(i);
                break;
            }
        }
    }
}

bool LinkCollection::cruise() {
    collect();
    resolveCruiseSteps();
    if (!settings_) return false;
    for (const CruiseEntry& step : settings_->LinkCruise) {
        if (step.index < 0 || static_cast<std::size_t>(step.index) >= linkTypes_.size()) continue;
        const LinkList& links = linkTypes_[step.index].links;
        if (links.empty()) continue;
        return navigate(links.front());
    }
    return false;
}

}  // namespace quorin
