#pragma once
// The common-control classes the settings dialogs use, registered before a dialog is created.

namespace quorin {

void ensureCommonControls() noexcept;

}  // namespace quorin
