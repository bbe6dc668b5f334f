// The seven calls of the audio library that the program makes: decoding
// (libmpg123, libsndfile), output (SDL2 audio) and spectrum (kissfft).
#pragma once

#include <cstdint>

#include <windows.h>

typedef uint64_t QWORD;
typedef DWORD HSTREAM;

#define BASS_STREAM_PRESCAN 0x20000
// A stream that is never played, only decoded on request.
#define BASS_STREAM_DECODE 0x200000
#define BASS_DATA_FFT512 0x80000001
// Lengths with any of these bits ask for something other than sample data.
#define BASS_DATA_FLAGS 0xF0000000u

BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const void* dsguid);
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos);
QWORD BASS_ChannelGetPosition(DWORD handle);
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);
BOOL BASS_Free();

