#include "analyzer/interop/CodeCollector.h"

CodeCollector::CodeCollector(int maxKept, std::optional<QString> wantedName, QString defaultName)
    : maxKept_(maxKept), wantedName_(std::move(wantedName)), defaultName_(std::move(defaultName))
{
}

void CodeCollector::Add(const QString& name, const PulseTrain& train)
{
    ++codesInFile_;
    const QString& shown = name.isEmpty() ? defaultName_ : name;
    if (wantedName_) {
        if (!kept_.empty() || shown != *wantedName_)
            return;
    } else if (int(kept_.size()) >= maxKept_) {
        return;
    }
    kept_.push_back(NamedCode{shown, train});
}

std::optional<FormatProblem> CodeCollector::AddBuilt(const QString& name, TrainBuilder& builder, int line)
{
    PulseTrain train;
    if (auto error = builder.Finish(train))
        return FormatProblem{line, *error};
    Add(name, train);
    return std::nullopt;
}

std::optional<QString> CheckName(const QString& name)
{
    if (name.size() > interop::kMaxNameLength)
        return QStringLiteral("name longer than %1 characters").arg(interop::kMaxNameLength);
    return std::nullopt;
}
