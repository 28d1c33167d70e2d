// What the pages that copy data files share: the start of a playback from a page (file
// choice with 'Same File Name', its file-name panel and progress bar), the boxes a playback
// shows, and a progress bar that follows the one shared playback while its page owns it.
// The playback itself (transfer::Playback) knows no widget.
#pragma once

#include "link/frame.h"
#include "transfer/playback.h"

#include <functional>

class Link;
class QCheckBox;
class QLabel;
namespace kit { class ProgressBar; }

namespace transferui {

// `bar` shows the shared playback's progress while `owner` plays.
void follow(transfer::Playback &playback, const void *owner, kit::ProgressBar *bar);

// The file to play: with 'Same File Name' ticked, the file last chosen from any page without
// asking (when there is none yet the box is unticked and the dialog shown); otherwise the
// open dialog. An empty result: cancelled.
QString choosePlaybackFile(transfer::Playback &playback, QCheckBox *sameName);

// 'PC-->Camera' of a page: nothing while a request is outstanding; else `setKind` (the
// page's decoder choice), bar at 0 and panel emptied, the file chosen, its path shown, and
// the first line sent. A file that cannot be read, or is not a data file, sends nothing and
// says so. `sameName` may be nullptr.
void startPlayback(Link &link, transfer::Playback &playback, const void *owner, kit::ProgressBar *bar,
                   QLabel *panel, QCheckBox *sameName, const std::function<void()> &setKind);

// The playback continuation of a page's decoder: one reply, and the box for a refusal or a
// read failure.
transfer::Playback::Step continuePlayback(transfer::Playback &playback, const ResponseFrame &r);

// The file to write, from the save dialog with `filter`; an existing file only after "Yes" to
// the overwrite question. An empty result: cancelled or declined.
QString chooseSaveFile(const QString &filter);

// A file-name panel shows the path; a path longer than the panel is cut, the tool tip holds
// it whole.
void showPath(QLabel *panel, const QString &path);

// The boxes with their texts, shared with the read-outs.
void showFileReadError();
void showFileWriteError();

} // namespace transferui
