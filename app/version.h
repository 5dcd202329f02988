#pragma once

// The version the about dialog and --version show.
constexpr int kdrVersionMajor = 0;
constexpr int kdrVersionMinor = 1;
