// The current INI document: reading with the lenient line rules, case-blind
// lookups, puts, and the write-back through a safe file replacement.
//
// The document is process-wide and lives here alone. Write-back happens when
// another file is opened, on close, and from an end hook at process exit, and
// only after a put changed something.
#include "runtime/core/ini.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/files.h"

namespace vxl {
namespace {

struct Entry {
  StringValue key;
  StringValue value;
};

struct Section {
  StringValue name;
  std::vector<Entry> entries;
};

struct Document {
  StringValue fileName;
  std::vector<Section> sections;
  bool changed = false;
};

Document g_doc;

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

bool SameNoCase(const StringValue& a, const StringValue& b) {
  if (a.length() != b.length()) return false;
  for (int i = 0; i < a.length(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

Section* FindSection(const StringValue& name) {
  for (Section& s : g_doc.sections) {
    if (SameNoCase(s.name, name)) return &s;
  }
  return nullptr;
}

Entry* FindKey(Section* section, const StringValue& key) {
  for (Entry& e : section->entries) {
    if (SameNoCase(e.key, key)) return &e;
  }
  return nullptr;
}

// ---- reading ----------------------------------------------------------------------

bool EndsName(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '=';
}

// One line (without its LF). `pending` is the section being collected.
void ParseLine(const unsigned char* p, size_t n, Section& pending) {
  // The old reader worked on C strings: a NUL ends the line.
  for (size_t k = 0; k < n; ++k) {
    if (p[k] == 0) {
      n = k;
      break;
    }
  }
  size_t i = 0;
  while (i < n && (p[i] == ' ' || p[i] == '\t' || p[i] == '\r' || p[i] == '\n')) ++i;
  if (i == n || p[i] == ';') return;

  if (p[i] == '[') {
    // A header closes the pending section if it collected anything; the
    // pending name stays until a non-empty one replaces it.
    if (!pending.entries.empty()) {
      Section done;
      done.name = pending.name;
      done.entries = std::move(pending.entries);
      g_doc.sections.push_back(std::move(done));
      pending.entries.clear();
    }
    ++i;
    while (i < n && p[i] == ' ') ++i;
    const size_t start = i;
    while (i < n && !EndsName(p[i])) ++i;
    size_t end = i;
    if (end > start && p[end - 1] == ']') --end;
    if (end > start) {
      pending.name =
          StringValue(reinterpret_cast<const char*>(p + start), static_cast<int>(end - start));
    }
    return;
  }

  const size_t keyStart = i;
  while (i < n && !EndsName(p[i])) ++i;
  if (i == n) return;
  const size_t keyEnd = i;
  if (p[i] != '=') {
    while (i < n && p[i] == ' ') ++i;
    if (i == n || p[i] != '=') return;
  }
  ++i;
  while (i < n && p[i] == ' ') ++i;
  size_t end = n;
  while (end > i && p[end - 1] < 32) --end;
  if (end == i) return;  // an empty value is never read
  Entry e;
  e.key =
      StringValue(reinterpret_cast<const char*>(p + keyStart), static_cast<int>(keyEnd - keyStart));
  e.value = StringValue(reinterpret_cast<const char*>(p + i), static_cast<int>(end - i));
  pending.entries.push_back(std::move(e));
}

void ParseDocument(const unsigned char* data, size_t size) {
  Section pending;
  size_t start = 0;
  while (start < size) {
    size_t end = start;
    while (end < size && data[end] != '\n') ++end;
    ParseLine(data + start, end - start, pending);
    start = end + 1;
  }
  if (!pending.entries.empty()) g_doc.sections.push_back(std::move(pending));
}

bool ReadWholeFile(const char* path, std::vector<unsigned char>* out) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  unsigned char chunk[16384];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    out->insert(out->end(), chunk, chunk + got);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

// ---- writing ----------------------------------------------------------------------

void AppendEntries(const Section& s, std::string* out) {
  for (const Entry& e : s.entries) {
    out->append(e.key.c_str(), static_cast<size_t>(e.key.length()));
    out->push_back('=');
    out->append(e.value.c_str(), static_cast<size_t>(e.value.length()));
    out->append("\r\n");
  }
}

void WriteBack() {
  if (!g_doc.changed || g_doc.fileName.empty()) return;
  g_doc.changed = false;
  std::string out;
  // Entries of the nameless section read back only from before the first
  // header, so they go there, without a header line.
  for (const Section& s : g_doc.sections) {
    if (s.name.empty()) AppendEntries(s, &out);
  }
  for (const Section& s : g_doc.sections) {
    if (s.name.empty() || s.entries.empty()) continue;
    out += '[';
    out.append(s.name.c_str(), static_cast<size_t>(s.name.length()));
    out += "]\r\n";
    AppendEntries(s, &out);
  }
  SafeWriter writer;
  if (!BeginSafeWrite(&writer, g_doc.fileName.c_str())) {
    std::printf("ini: cannot write \"%s\"\n", g_doc.fileName.c_str());
    return;
  }
  if (std::fwrite(out.data(), 1, out.size(), writer.file) != out.size()) {
    AbandonSafeWrite(&writer);
    std::printf("ini: cannot write \"%s\"\n", g_doc.fileName.c_str());
    return;
  }
  if (!FinishSafeWrite(&writer)) std::printf("ini: cannot write \"%s\"\n", g_doc.fileName.c_str());
}

void Discard() {
  g_doc.sections.clear();
  g_doc.changed = false;
  g_doc.fileName.Clear();
}

void IniAtExit() {
  WriteBack();
  Discard();
}

// ---- put checks: what is stored must read back as the same entry ------------------

bool HasByte(const StringValue& s, const char* bytes, int count) {
  for (int i = 0; i < s.length(); ++i) {
    for (int k = 0; k < count; ++k) {
      if (s[i] == static_cast<unsigned char>(bytes[k])) return true;
    }
  }
  return false;
}

const char* SectionProblem(const StringValue& name) {
  return HasByte(name, " \t=\r\n\0", 6) ? "section name contains a blank, tab, '=', CR, LF or NUL"
                                        : nullptr;
}

const char* KeyProblem(const StringValue& key) {
  if (HasByte(key, " \t=\r\n\0", 6)) return "key contains a blank, tab, '=', CR, LF or NUL";
  if (key[0] == '[' || key[0] == ';') return "key starts with '[' or ';'";
  return nullptr;
}

const char* ValueProblem(const StringValue& value) {
  return HasByte(value, "\r\n\0", 3) ? "value contains CR, LF or NUL" : nullptr;
}

}  // namespace

void OpenIni(const StringValue& name) {
  WriteBack();
  Discard();
  if (name.empty()) return;
  AddEndHook(IniAtExit);

  const StringValue path = RequestFile(kMediaRequest, name, true);
  const unsigned char* bytes = nullptr;
  int size = 0;
  if (path.empty()) {
    g_doc.fileName = name;  // created by the first write-back
  } else if (MemoryFileBytes(path.c_str(), &bytes, &size)) {
    // Served from the archive: changes go to a loose file of the given name.
    g_doc.fileName = name;
    ParseDocument(bytes, static_cast<size_t>(size));
  } else {
    g_doc.fileName = path;
    std::vector<unsigned char> data;
    if (ReadWholeFile(path.c_str(), &data)) ParseDocument(data.data(), data.size());
  }
}

void CloseIni() {
  OpenIni(StringValue());
}

StringValue IniFileName() {
  return g_doc.fileName;
}

int IniChanged() {
  return g_doc.changed ? 1 : 0;
}

StringValue GetIni(const StringValue& section, const StringValue& key,
                   const StringValue& defaultValue) {
  Section* s = FindSection(section);
  Entry* e = s ? FindKey(s, key) : nullptr;
  return e ? e->value : defaultValue;
}

int PutIni(const StringValue& section, const StringValue& key, const StringValue& value) {
  if (key.empty()) {
    for (size_t i = 0; i < g_doc.sections.size(); ++i) {
      if (SameNoCase(g_doc.sections[i].name, section)) {
        g_doc.sections.erase(g_doc.sections.begin() + static_cast<std::ptrdiff_t>(i));
        g_doc.changed = true;
        break;
      }
    }
    return 1;
  }
  Section* s = FindSection(section);
  Entry* e = s ? FindKey(s, key) : nullptr;
  if (!value.empty()) {
    const char* problem = ValueProblem(value);
    if (!problem && !e) problem = KeyProblem(key);
    if (!problem && !s) problem = SectionProblem(section);
    if (problem) {
      std::printf("ini: put refused in \"%s\": %s\n", g_doc.fileName.c_str(), problem);
      return 0;
    }
  }
  if (!s) {
    if (SectionProblem(section)) return 1;  // nothing to store anyway
    Section fresh;
    fresh.name = section;
    g_doc.sections.push_back(std::move(fresh));
    s = &g_doc.sections.back();
  }
  if (e) {
    if (value.empty()) {
      s->entries.erase(s->entries.begin() + (e - s->entries.data()));
    } else {
      e->value = value;
    }
    g_doc.changed = true;
    return 1;
  }
  if (value.empty()) return 1;
  s->entries.push_back(Entry{key, value});
  g_doc.changed = true;
  return 1;
}

}  // namespace vxl
