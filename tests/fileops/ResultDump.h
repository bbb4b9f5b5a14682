#pragma once
// The whole result model as text, to compare two models: the job, the
// counters, every clone set in map order and every run group (files with
// their names, stamps and states, and whether a file has its origin name
// by address), the result tree with its references, and the rows of every
// file list and of the one list.

#include "engine/SearchState.h"
#include "review/BrowserRows.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace paradrex::test {

inline std::string DumpFile(const FileRecord& f) {
    std::ostringstream o;
    o << FilePath(f) << " origin=" << f.originName
      << (f.name == f.originName ? " (own name)" : std::string(" named=") + f.name)
      << " size=" << f.size << " modified=" << f.modified << "." << f.stamp.modifiedNs
      << " id=" << f.stamp.device << ":" << f.stamp.inode << " state=" << static_cast<int>(f.state);
    return o.str();
}

inline std::string DumpModel(const SearchState& s) {
    std::ostringstream o;
    o << "job:";
    for (const std::string& r : s.job.roots)
        o << " " << r;
    o << " min=" << s.job.minSizeEnabled << "/" << s.job.minSize << " max=" << s.job.maxSizeEnabled
      << "/" << s.job.maxSize << " ro=" << s.job.includeReadOnly << " hid=" << s.job.includeHidden
      << " sys=" << s.job.includeSystem << " types=";
    for (const std::string& t : s.job.typeList)
        o << t << ",";
    const auto v = s.counters.Snapshot();
    o << "\ncounters: " << v.totalSize << " " << v.averageBytesPerSecond << " " << v.fileCount
      << " " << v.averageFilesPerSecond << " " << v.duplicateCount << " " << v.duplicateSize << " "
      << v.directoryCount << " " << v.validated << " " << v.findTime << " " << v.buildTime << " "
      << v.pretreatTime << "\n";

    std::map<const CloneSet*, size_t> setIndex;
    std::map<const RunGroup*, size_t> runIndex;
    for (const auto& [sig, set] : s.cloneSets) {
        setIndex[&set] = setIndex.size();
        o << "set " << setIndex[&set] << ":";
        for (const NameRecord* d : *sig)
            o << " " << DirectoryPath(d);
        o << "\n";
        for (const DuplicateGroup& g : set) {
            o << "  group\n";
            for (const FileRecord* f : g)
                o << "    " << DumpFile(*f) << "\n";
        }
    }
    for (const RunGroup& rg : s.runGroups) {
        runIndex[&rg] = runIndex.size();
        o << "run group " << runIndex[&rg] << ":";
        for (const Run& r : rg.runs)
            o << " " << DirectoryPath(r.directory) << "@" << r.first << "+" << r.count;
        o << "\n";
        for (const FileRecord* f : rg.group)
            o << "    " << DumpFile(*f) << "\n";
    }

    if (!s.resultRoot) {
        o << "no tree\n";
        return o.str();
    }
    const RowColours colours;
    std::vector<std::pair<const ResultDir*, int>> stack{{s.resultRoot.get(), 0}};
    while (!stack.empty()) {
        auto [d, depth] = stack.back();
        stack.pop_back();
        o << std::string(static_cast<size_t>(depth) * 2, ' ') << "dir "
          << (d->name ? DirectoryPath(d->name) : std::string("(root)"));
        for (const CloneRef& r : d->cloneRefs)
            o << " c" << setIndex.at(r.set) << "@" << r.position;
        for (const RunRef& r : d->runRefs)
            o << " r" << runIndex.at(r.group) << "#" << r.run;
        o << "\n";
        for (const FileListRow& row : BuildFileListRows(*d, colours))
            o << "    row " << row.block << "." << row.indexInBlock << " pos " << row.position
              << " bg " << row.background << " " << FilePath(*row.file) << "\n";
        for (auto it = d->children.rbegin(); it != d->children.rend(); ++it)
            stack.push_back({it->second.get(), depth + 1});
    }
    for (const OneListRow& row : BuildOneListRows(ResultGroups(s), colours))
        o << "one " << row.background << " " << FilePath(*row.file) << "\n";
    return o.str();
}

} // namespace paradrex::test
