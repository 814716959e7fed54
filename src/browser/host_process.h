#pragma once

namespace quorin {

// True inside the shell's file windows: the host executable's path contains "explorer.exe".
bool isShellHost() noexcept;

}  // namespace quorin
