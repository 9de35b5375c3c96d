#pragma once

// The windows are laid out for a compact 8.25 pt sans-serif with the common
// Arial metrics; Liberation Sans has them. Where it is missing the system's
// sans-serif takes its place.
void apply_program_font();
