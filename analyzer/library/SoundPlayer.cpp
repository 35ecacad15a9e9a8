#include "analyzer/library/SoundPlayer.h"

#include <QFile>

#include <canberra.h>
#include <dlfcn.h>

#include <memory>

namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// libasound reports a missing sound card on stderr at every attempt to play;
// like every other sound failure, that stays quiet. Only when canberra's
// ALSA back-end has loaded libasound is there anything to quieten.
void QuietenAlsa()
{
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetErrorHandler = int (*)(ErrorHandler);
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa)
        return;
    if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(IgnoreAlsaError);
    dlclose(alsa);
}

// One canberra context for the worker, opened on first use.
class CanberraContext {
public:
    ~CanberraContext()
    {
        if (context)
            ca_context_destroy(context);
    }

    void Play(const std::string& path)
    {
        if (!context && !Open())
            return;
        ca_context_play(context, 0, CA_PROP_MEDIA_FILENAME, path.c_str(), CA_PROP_EVENT_DESCRIPTION,
                        "Code recognised", nullptr);
    }

private:
    bool Open()
    {
        if (failed)
            return false;
        if (ca_context_create(&context) != CA_SUCCESS) {
            context = nullptr;
            failed = true;
            return false;
        }
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Wavix II", CA_PROP_APPLICATION_ID, "wavix",
                                nullptr);
        if (ca_context_open(context) != CA_SUCCESS) {
            ca_context_destroy(context);
            context = nullptr;
            failed = true;
            return false;
        }
        QuietenAlsa();
        return true;
    }

    ca_context* context = nullptr;
    bool failed = false;
};

} // namespace

SoundPlayer::Backend SoundPlayer::Canberra()
{
    auto context = std::make_shared<CanberraContext>();
    return [context](const std::string& path) { context->Play(path); };
}

SoundPlayer& SoundPlayer::Process()
{
    // Never destroyed: joining a worker that a sound library holds up would
    // delay the end of the program.
    static SoundPlayer* player = new SoundPlayer(Canberra());
    return *player;
}

SoundPlayer::SoundPlayer(Backend playBackend) : backend(std::move(playBackend)), worker([this] { Run(); }) {}

SoundPlayer::~SoundPlayer()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

void SoundPlayer::Play(const QString& path)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        pending = QFile::encodeName(path).toStdString();
    }
    wake.notify_one();
}

void SoundPlayer::Run()
{
    for (;;) {
        std::string path;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || pending.has_value(); });
            if (stopping)
                return;
            path = std::move(*pending);
            pending.reset();
        }
        backend(path);
    }
}
