#include "forms/ComponentFactory.h"

#include <map>

namespace cw {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return out;
}

std::map<std::string, ComponentFactory::Creator>& Creators() {
    static std::map<std::string, ComponentFactory::Creator> creators;
    return creators;
}

} // namespace

void ComponentFactory::Register(const std::string& kind, Creator creator) {
    Creators()[Lower(kind)] = std::move(creator);
}

void ComponentFactory::Unregister(std::string_view kind) {
    Creators().erase(Lower(kind));
}

bool ComponentFactory::Knows(std::string_view kind) {
    return Creators().count(Lower(kind)) != 0;
}

std::unique_ptr<Component> ComponentFactory::Create(std::string_view kind, ComponentHost& host) {
    const auto it = Creators().find(Lower(kind));
    if (it == Creators().end() || !it->second)
        return nullptr;
    return it->second(host);
}

} // namespace cw
