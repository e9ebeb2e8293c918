#pragma once
// Which Qt platform a run opens on, decided before the application object
// exists: an unattended run needs no display, a window run needs one.

// Chooses Qt's offscreen platform for an unattended run that has no display
// (or, with one, keeps offscreen as the fallback). A platform the user chose
// (QT_QPA_PLATFORM, -platform) always wins. Returns false after one line on
// stderr when a window run has no display to open on.
bool PrepararPantalla(int argc, char** argv);

// Held while the application object is built: a platform that cannot start
// ends the run with one Spanish line and exit 1, instead of Qt's abort, and
// Qt's own notes about the platforms it tried are kept quiet.
class GuardiaPantalla {
public:
    GuardiaPantalla();
    ~GuardiaPantalla();
    GuardiaPantalla(const GuardiaPantalla&) = delete;
    GuardiaPantalla& operator=(const GuardiaPantalla&) = delete;
};
