#pragma once

#include "engine/wordset.h"

#include <QSettings>
#include <QString>

#include <memory>

// Where the settings live. In production the native per-user store: on Windows the registry key
// HKEY_CURRENT_USER\SOFTWARE\Morvane\Vaskelio, on Linux ~/.config/Morvane/Vaskelio.conf
// ($XDG_CONFIG_HOME followed). Tests point it at a file of their own.
class SettingsLocation {
public:
    static SettingsLocation native();
    static SettingsLocation file(const QString &path,
                                 QSettings::Format format = QSettings::IniFormat);

    // Whether the store exists; asking never creates it.
    bool exists() const;
    // Without fallbacks to organisation-wide or system-wide stores. Nothing is created until
    // something is written.
    std::unique_ptr<QSettings> open() const;

private:
    SettingsLocation(bool native, QString path, QSettings::Format format)
        : native_(native), path_(std::move(path)), format_(format)
    {
    }

    bool native_;
    QString path_;
    QSettings::Format format_;
};

// The program-wide values that the settings carry from one run to the next.
struct SettingsState {
    static constexpr int kLevels = 5;
    static constexpr int kLanguages = 3;

    int newgamelevel = 0; // 0 Easy .. 4 Extreme
    WordSet newgamewords; // what the New Game dialog's boxes last held
    QString submittername;
    int langid = 0;         // 0 English, 1 Chinese, 2 Japanese
    bool resumegame = true; // the kept game comes back at start-up
    bool askreplace = true; // an unsolved game is asked about before another replaces it
    // How large the windows are drawn, in percent of their own size, on top of what the screen
    // asks for: one of kZooms. 100 leaves it to the screen.
    int zoom = 100;
    static constexpr int kZooms[] = {100, 125, 150, 200};
    int paletteshows = 0;        // a WordFace: the palette shows words, meanings or readings
    bool notecleanup = true;     // a placed word leaves the notes of the cells that see it
    bool notesasnumbers = false; // notes drawn as numbers, not as the words' first characters
    bool showconflicts = false;  // a word its row, column or box shows twice marked at once
    bool showtime = true;        // the time played at the right of the status bar
    int speakwords = 0;          // words spoken unasked: 0 never, 1 when selected, 2 when placed
    int speechrate = 0;          // -10 (slowest) to 10 (fastest); 0 the engine's own pace
};

class Settings {
public:
    explicit Settings(SettingsLocation location = SettingsLocation::native());

    // Fills state from the store. palette holds the nine palette words on entry; a word stored
    // for k replaces word k, and state takes the palette word where none is stored. The palette's
    // title is not used. When nothing is stored at all (the first start), state gets its defaults
    // and palette is left alone. Creates nothing.
    void loadsettings(SettingsState &state, WordSet &palette) const;

    // Writes every value as a string, creating the store when needed. False when it could not be
    // written; the caller has nothing to tell the user.
    bool savesettings(const SettingsState &state) const;

private:
    SettingsLocation location_;
};
