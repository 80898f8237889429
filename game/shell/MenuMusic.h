// The menu music: the main menu's track and the comic track, shared by the main menu (which
// loads them), the venue map, the level (which stops them when a level starts or ends) and
// the game main's `PlayComicMusic`. Both stream in the music group; at most one plays.
// UI thread only.
#pragma once

inline constexpr char kMenuMusicFile[] = "assets/audio/music/cannon_in_d.ogg";
inline constexpr char kComicMusicFile[] = "assets/audio/music/Disco Dance 1.ogg";

// Loads both tracks, replacing any loaded before; neither starts.
void LoadMenuMusic();
// Stops the comic track when it plays and starts the menu track looping unless it plays.
void SwitchToMenuMusic();
// The same with the two tracks exchanged.
void SwitchToComicMusic();
// Stops every sound of the music group; neither track counts as playing afterwards.
void StopMenuMusic();
// Lets both tracks go (at exit, before the sound service goes).
void ReleaseMenuMusic();
