#pragma once

#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Plays sound files on a worker thread of its own, so that a slow sound
// server or device never holds up the caller (the capture path). Failures
// (missing file, no sound server, no audio device) are silent.
class SoundPlayer {
public:
    // Plays one file; runs on the worker thread.
    using Backend = std::function<void(const std::string& path)>;

    // The desktop's event-sound library (libcanberra).
    static Backend Canberra();
    // The player the program uses; it lives until the process ends.
    static SoundPlayer& Process();

    explicit SoundPlayer(Backend backend);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Returns at once. While one file still waits for the worker, a newer
    // request replaces it, so requests never pile up.
    void Play(const QString& path);

private:
    void Run();

    Backend backend;
    std::mutex mutex;
    std::condition_variable wake;
    std::optional<std::string> pending;
    bool stopping = false;
    std::thread worker;
};
