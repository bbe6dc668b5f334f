// MessageBoxA that logs instead of waiting for a click.
#pragma once

// How long each box stays up, as a user reading it would keep it: 0 by default.
extern double HoldBoxesOpenSeconds;
