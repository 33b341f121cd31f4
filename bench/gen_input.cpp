// Writes deterministic benchmark inputs.
//   bench_gen ascii MiB FILE   CSV-like ASCII lines, about 50 bytes each
//   bench_gen utf8ja MiB FILE  Japanese UTF-8 lines
//   bench_gen dups LINES FILE  LINES lines drawn from one tenth as many distinct ones
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

uint64_t state = 0x9E3779B97F4A7C15ull;
uint64_t Next() {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return state;
}

void PutUtf8(std::string& s, char32_t c) {
  s += static_cast<char>(0xE0 | (c >> 12));
  s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  s += static_cast<char>(0x80 | (c & 0x3F));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_gen ascii|utf8ja MiB FILE | dups LINES FILE\n");
    return 2;
  }
  const std::string kind = argv[1];
  const bool dups = kind == "dups";
  const uint64_t count = std::strtoull(argv[2], nullptr, 10);
  const uint64_t target = dups ? UINT64_MAX : count << 20;
  FILE* out = std::fopen(argv[3], "wb");
  if (!out) return 1;
  std::string line;
  uint64_t written = 0;
  uint64_t row = 0;
  while (written < target) {
    line.clear();
    if (dups) {
      if (row == count) break;
      ++row;
      line = "key-" + std::to_string((Next() % (count / 10 + 1)) * 2654435761u % 100000007u) + ",value\n";
    } else if (kind == "ascii") {
      line += std::to_string(Next() % 100000000) + ",user" + std::to_string(Next() % 100000) + ",";
      line += std::to_string(Next() % 1000) + "." + std::to_string(Next() % 100) + ",item-";
      for (int i = 0; i < 8; ++i) line += static_cast<char>('a' + Next() % 26);
      line += "," + std::to_string(++row) + "\n";
    } else {
      const int chars = 8 + static_cast<int>(Next() % 24);
      for (int i = 0; i < chars; ++i) {
        uint64_t r = Next() % 10;
        if (r < 5) PutUtf8(line, 0x3041 + Next() % 83);         // hiragana
        else if (r < 9) PutUtf8(line, 0x4E00 + Next() % 3000);  // common kanji block
        else line += static_cast<char>('0' + Next() % 10);
      }
      line += "\r\n";
    }
    std::fwrite(line.data(), 1, line.size(), out);
    written += line.size();
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
