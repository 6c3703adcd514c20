// The game's sound card: the piece decoded by SDL's loader and fed to an SDL
// audio device of its own format. It lives in the music module
// (kiravel-sound.so), which the game loads on its music thread, so the audio
// libraries never stand between the start of the program and its window.
#pragma once

#include <memory>

#include "platform/music_level.h"
#include "platform/playback.h"

namespace kiravel {

// Called on the audio thread when a started piece has handed its last frame
// to the sound card.
using PieceEnded = void (*)(void* listener);

// The module's one entry point, found by name: a playback that tells the
// listener when the piece ends, and plays as loud as *level says (null:
// full volume). It starts SDL's audio on first use and shuts SDL down when
// it is destroyed.
extern "C" Playback* kiravel_music_playback(PieceEnded ended, void* listener,
                                            const MusicLevel* level);
constexpr const char* kMusicModuleEntry = "kiravel_music_playback";

std::unique_ptr<Playback> MakeSdlPlayback(PieceEnded ended, void* listener,
                                          const MusicLevel* level = nullptr);

}  // namespace kiravel
