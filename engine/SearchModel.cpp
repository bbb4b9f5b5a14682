#include "engine/SearchModel.h"

#include "engine/BlockPool.h"

#include <cstddef>
#include <cstring>

namespace paradrex {

NameRecord* NameRecord::Create(BlockPool& pool, const NameRecord* parent, std::string_view name) {
    auto* r = static_cast<NameRecord*>(pool.Allocate(offsetof(NameRecord, text) + name.size() + 1));
    r->parent = parent;
    r->length = static_cast<uint32_t>(name.size());
    std::memcpy(r->text, name.data(), name.size());
    r->text[name.size()] = '\0';
    return r;
}

FileRecord* FileRecord::Create(BlockPool& pool, const NameRecord* directory, std::string_view name,
                               uint64_t size, int64_t modified, const FileStamp& stamp) {
    auto* r =
        static_cast<FileRecord*>(pool.Allocate(offsetof(FileRecord, originName) + name.size() + 1));
    r->directory = directory;
    r->size = size;
    r->modified = modified;
    r->stamp = stamp;
    r->state = FileState::Unsettled;
    std::memcpy(r->originName, name.data(), name.size());
    r->originName[name.size()] = '\0';
    r->name = r->originName;
    return r;
}

DirNode::~DirNode() {
    // Deep trees would overflow the stack with recursive destruction.
    std::vector<std::unique_ptr<DirNode>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<DirNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& c : node->children)
            pending.push_back(std::move(c));
        node->children.clear();
    }
}

ResultDir::~ResultDir() {
    std::vector<std::unique_ptr<ResultDir>> pending;
    for (auto& [k, c] : children)
        pending.push_back(std::move(c));
    children.clear();
    while (!pending.empty()) {
        std::unique_ptr<ResultDir> node = std::move(pending.back());
        pending.pop_back();
        for (auto& [k, c] : node->children)
            pending.push_back(std::move(c));
        node->children.clear();
    }
}

bool SignatureLess::operator()(const DirSignature& a, const DirSignature& b) const {
    const auto* pa = reinterpret_cast<const unsigned char*>(a->data());
    const auto* pb = reinterpret_cast<const unsigned char*>(b->data());
    const size_t na = a->size() * sizeof(const NameRecord*);
    const size_t nb = b->size() * sizeof(const NameRecord*);
    const size_t n = na < nb ? na : nb;
    if (n > 0) {
        int c = std::memcmp(pa, pb, n);
        if (c != 0)
            return c < 0;
    }
    return na < nb;
}

void AppendDirectoryPath(std::string& out, const NameRecord* dir) {
    if (!dir)
        return;
    // Measure first, then fill from the leaf backwards: no recursion, one
    // allocation at most. A slash joins two components unless the upper one
    // already ends in a slash (the root "/").
    size_t total = 0;
    for (const NameRecord* r = dir; r; r = r->parent) {
        total += r->length;
        const NameRecord* p = r->parent;
        if (p && (p->length == 0 || p->text[p->length - 1] != '/'))
            ++total;
    }
    size_t pos = out.size() + total;
    out.resize(pos);
    for (const NameRecord* r = dir; r; r = r->parent) {
        pos -= r->length;
        std::memcpy(out.data() + pos, r->text, r->length);
        const NameRecord* p = r->parent;
        if (p && (p->length == 0 || p->text[p->length - 1] != '/'))
            out[--pos] = '/';
    }
}

std::string DirectoryPath(const NameRecord* dir) {
    std::string s;
    AppendDirectoryPath(s, dir);
    return s;
}

void AppendFilePath(std::string& out, const NameRecord* dir, std::string_view name) {
    const size_t start = out.size();
    AppendDirectoryPath(out, dir);
    if (out.size() == start || out.back() != '/')
        out += '/';
    out += name;
}

std::string FilePath(const FileRecord& file) {
    std::string s;
    AppendFilePath(s, file.directory, file.name);
    return s;
}

void SetStateRecursive(ResultDir& dir, FileState state) {
    // Depth first, children in child order, then this directory's own files:
    // an explicit stack with a "children done" mark per entry.
    struct Item {
        ResultDir* dir;
        bool childrenDone;
    };
    std::vector<Item> stack{{&dir, false}};
    while (!stack.empty()) {
        Item& top = stack.back();
        if (!top.childrenDone) {
            top.childrenDone = true;
            ResultDir* d = top.dir;
            for (auto it = d->children.rbegin(); it != d->children.rend(); ++it)
                stack.push_back({it->second.get(), false});
            continue;
        }
        ResultDir* d = top.dir;
        stack.pop_back();
        for (const CloneRef& ref : d->cloneRefs)
            for (DuplicateGroup& g : *ref.set)
                g[ref.position]->state = state;
        for (const RunRef& ref : d->runRefs) {
            const Run& run = ref.group->runs[ref.run];
            for (uint32_t i = 0; i < run.count; ++i)
                ref.group->group[run.first + i]->state = state;
        }
    }
}

ResultDir* FindResultDir(ResultDir* root, std::string_view path) {
    if (!root)
        return nullptr;
    ResultDir* cur = nullptr;
    std::string_view rest;
    for (auto& [rec, child] : root->children) {
        std::string_view name = rec->name();
        if (path.substr(0, name.size()) != name)
            continue;
        std::string_view after = path.substr(name.size());
        if (after.empty()) {
            cur = child.get();
            rest = after;
            break;
        }
        if (after[0] == '/') {
            cur = child.get();
            rest = after.substr(1);
            break;
        }
        if (!name.empty() && name.back() == '/') { // the root "/"
            cur = child.get();
            rest = after;
            break;
        }
    }
    if (!cur)
        return nullptr;
    if (path.size() > 1 && path.back() == '/')
        return nullptr;
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view comp = rest.substr(0, slash);
        ResultDir* next = nullptr;
        for (auto& [rec, child] : cur->children) {
            if (rec->name() == comp) {
                next = child.get();
                break;
            }
        }
        if (!next)
            return nullptr;
        cur = next;
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
    }
    return cur;
}

} // namespace paradrex
