#include "cli/ResultWriter.h"

#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "fileops/JsonText.h"

#include <map>
#include <vector>

namespace paradrex::cli {

namespace {

class JsonBuilder {
public:
    JsonBuilder(std::FILE* out, const SearchState& state) : out_(out), state_(state) {}

    void Write() {
        s_ += "{\"counters\":";
        Counters();
        s_ += ",\"cloneSets\":[";
        size_t index = 0;
        for (const auto& [sig, set] : state_.cloneSets) {
            setIndex_[&set] = index;
            if (index++)
                s_ += ',';
            s_ += "{\"signature\":[";
            for (size_t k = 0; k < sig->size(); ++k) {
                if (k)
                    s_ += ',';
                AppendJsonString(s_, DirectoryPath((*sig)[k]));
            }
            s_ += "],\"groups\":[";
            for (size_t g = 0; g < set.size(); ++g) {
                if (g)
                    s_ += ',';
                Files(set[g]);
            }
            s_ += "]}";
            Flush();
        }
        s_ += "],\"runGroups\":[";
        index = 0;
        for (const RunGroup& rg : state_.runGroups) {
            groupIndex_[&rg] = index;
            if (index++)
                s_ += ',';
            s_ += "{\"runs\":[";
            for (size_t r = 0; r < rg.runs.size(); ++r) {
                if (r)
                    s_ += ',';
                s_ += "{\"directory\":";
                AppendJsonString(s_, DirectoryPath(rg.runs[r].directory));
                s_ += ",\"first\":";
                AppendJsonNumber(s_, rg.runs[r].first);
                s_ += ",\"count\":";
                AppendJsonNumber(s_, rg.runs[r].count);
                s_ += '}';
            }
            s_ += "],\"files\":";
            Files(rg.group);
            s_ += '}';
            Flush();
        }
        s_ += "],\"tree\":";
        if (state_.resultRoot)
            Tree(*state_.resultRoot);
        else
            s_ += "null";
        s_ += "}\n";
        Flush(true);
    }

private:
    void Flush(bool force = false) {
        if (force || s_.size() > (1u << 20)) {
            std::fwrite(s_.data(), 1, s_.size(), out_);
            s_.clear();
        }
    }

    void Counters() { AppendJsonCounters(s_, state_.counters.Snapshot()); }

    void Files(const DuplicateGroup& g) {
        s_ += '[';
        for (size_t i = 0; i < g.size(); ++i) {
            const FileRecord& f = *g[i];
            if (i)
                s_ += ',';
            s_ += "{\"path\":";
            AppendJsonString(s_, FilePath(f));
            s_ += ",\"name\":";
            AppendJsonString(s_, f.name);
            s_ += ",\"size\":";
            AppendJsonNumber(s_, f.size);
            s_ += ",\"modified\":";
            AppendJsonNumber(s_, f.modified);
            s_ += ",\"state\":\"";
            s_ += JsonStateName(f.state);
            s_ += "\"}";
        }
        s_ += ']';
    }

    void Tree(const ResultDir& root) {
        // Iterative: result trees may be deep.
        struct Item {
            const ResultDir* dir;
            std::map<const NameRecord*, std::unique_ptr<ResultDir>>::const_iterator next;
        };
        std::vector<Item> stack;
        auto open = [&](const ResultDir& d) {
            s_ += "{\"name\":";
            AppendJsonString(s_, d.name ? d.name->name() : std::string_view{});
            s_ += ",\"path\":";
            AppendJsonString(s_, d.name ? DirectoryPath(d.name) : std::string{});
            s_ += ",\"cloneRefs\":[";
            for (size_t i = 0; i < d.cloneRefs.size(); ++i) {
                if (i)
                    s_ += ',';
                s_ += "{\"set\":";
                AppendJsonNumber(s_, setIndex_.at(d.cloneRefs[i].set));
                s_ += ",\"position\":";
                AppendJsonNumber(s_, d.cloneRefs[i].position);
                s_ += '}';
            }
            s_ += "],\"runRefs\":[";
            for (size_t i = 0; i < d.runRefs.size(); ++i) {
                if (i)
                    s_ += ',';
                s_ += "{\"group\":";
                AppendJsonNumber(s_, groupIndex_.at(d.runRefs[i].group));
                s_ += ",\"run\":";
                AppendJsonNumber(s_, d.runRefs[i].run);
                s_ += '}';
            }
            s_ += "],\"children\":[";
            stack.push_back({&d, d.children.begin()});
        };
        open(root);
        while (!stack.empty()) {
            Item& top = stack.back();
            if (top.next == top.dir->children.end()) {
                s_ += "]}";
                stack.pop_back();
                continue;
            }
            if (top.next != top.dir->children.begin())
                s_ += ',';
            const ResultDir& child = *top.next->second;
            ++top.next;
            open(child);
            Flush();
        }
    }

    std::FILE* out_;
    const SearchState& state_;
    std::string s_;
    std::map<const void*, size_t> setIndex_;
    std::map<const void*, size_t> groupIndex_;
};

void AppendPaths(std::string& s, const DuplicateGroup& g) {
    for (const FileRecord* f : g) {
        AppendFilePath(s, f->directory, f->name);
        s += '\n';
    }
    s += '\n';
}

} // namespace

void WriteText(std::FILE* out, const SearchState& state) {
    std::string s;
    auto flush = [&](bool force) {
        if (force || s.size() > (1u << 20)) {
            std::fwrite(s.data(), 1, s.size(), out);
            s.clear();
        }
    };
    for (const DuplicateGroup& g : ResultGroups(state)) {
        AppendPaths(s, g);
        flush(false);
    }
    flush(true);
}

void WriteJson(std::FILE* out, const SearchState& state) {
    JsonBuilder(out, state).Write();
}

} // namespace paradrex::cli
