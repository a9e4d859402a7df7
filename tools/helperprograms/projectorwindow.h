#pragma once
// The projector program's window: the movie at the stage size, looping.
// F11 or Ctrl+F toggles full screen; Esc leaves full screen, or closes the
// window when it is not full screen. Interface thread only.

#include <QWidget>
#include <memory>

class TShockwaveFlash;
namespace swf {
class MovieDefinition;
}

class TProjectorWindow : public QWidget {
public:
    TProjectorWindow(const QString &title, const std::shared_ptr<const swf::MovieDefinition> &movie);

    TShockwaveFlash *player() const { return player_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    TShockwaveFlash *player_;
};
