#pragma once
// Ctrl+C: the current frame to the clipboard as a device-independent bitmap.
// User-interface thread only.

// Puts the whole frame, at its camera resolution, turned and mirrored as
// shown (the frozen one while frozen), on the clipboard as CF_DIB, owned by the main
// window. Does nothing while no picture is shown. True when it was put there.
bool copy_picture_to_clipboard();
