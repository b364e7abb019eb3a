#pragma once
// The look of the small windows laid over the screens (password, link
// problem, please wait): the screens are drawn inside the dashboard, without
// window frames, so these windows draw their own: button face, dark border
// and a title strip.
class QLabel;
class QWidget;

namespace ostrel {

// Gives the window that look; returns its title strip "Barre_Titre", which
// shows the window title it has now.
QLabel* Habiller_Petite_Fenetre(QWidget* fenetre);

}  // namespace ostrel
