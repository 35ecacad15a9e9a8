#include "analyzer/library/SoundPlayer.h"

#include <QFile>

#include <canberra.h>

#include <memory>

namespace {

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
