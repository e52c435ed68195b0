// The two soft-key captions the program draws itself at the foot of the
// screen, chosen by the screen showing.
#include "screens/controller.h"
#include "state/program_state.h"

namespace {

using plat::kCaptionTop;
constexpr int32_t kCaptionWidth = 89;  // the widest caption
constexpr int32_t kCaptionHeight = plat::kScreenHeight - kCaptionTop;

// Right-hand captions are 87 or 88 pixels wide: each is drawn at its own width.
int32_t captionWidth(const plat::Bitmap* caption) {
    return caption && caption->width < kCaptionWidth ? caption->width : kCaptionWidth;
}

}  // namespace

void ScreenController::drawSoftKeys(plat::Surface* target) {
    plat::Bitmap* left = nullptr;
    plat::Bitmap* right = nullptr;
    switch (state) {
        case MainMenu:
        case GameMenu:
            left = backCaption;
            right = selectCaption;
            break;
        case OptionsFromMain:
        case OptionsFromGame:
            left = backCaption;
            right = storeCaption;
            break;
        case HelpFromMain:
        case HelpFromGame:
        case AboutFromMain:
        case AboutFromGame:
            // No left caption: the empty box of the background shows again.
            copyPicture(target, 0, kCaptionTop, kCaptionWidth, kCaptionHeight, backgroundBitmap, 0, kCaptionTop);
            right = okCaption;
            break;
        case Playing:
            // Captions show over the first frames of a game only, and do not
            // come back on a resume; an ended game never offers PAUSE.
            if (startFrames >= 60 || previousState == Paused) return;
            left = menuCaption;
            if (gameEnded == 0) right = pauseCaption;
            break;
        case Paused:
            left = menuCaption;
            right = resumeCaption;
            break;
        default:  // the title picture has none
            return;
    }
    copyPictureKeyed(target, 0, kCaptionTop, captionWidth(left), kCaptionHeight, left, 0, 0, plat::kBlue);
    copyPictureKeyed(target, plat::kCaptionSplit, kCaptionTop, captionWidth(right), kCaptionHeight, right, 0, 0,
                     plat::kBlue);
}
