#include "PackFiles.h"

#include <fstream>
#include <utility>

#include "ContentError.h"

namespace content {

std::string packFileName(int pack, int part, const std::string& extension) {
  std::string name = "RP" + std::to_string(pack);
  if (part != -1) name += "part" + std::to_string(part);
  return name + "." + extension;
}

bool isChunkedPack(int pack) { return pack >= 1 && pack <= 32 && (0x67DFD >> (pack - 1) & 1) != 0; }

std::string fileTypeExtension(int fileType) {
  static const std::pair<int, const char*> kTable[] = {
      {0, "mid"},   {1, "wav"},  {2, "mp3"},   {3, "amr"},   {4, "aac"},  {5, "au"},   {6, "qcp"},
      {7, "ott"},   {8, "jts"},  {9, "imy"},   {10, "mmf"},  {11, "cmx"}, {12, "adp"}, {14, "3gp"},
      {15, "3g2"},  {16, "263"}, {17, "264"},  {18, "mpg"},  {19, "mp4"}, {20, "rv"},  {21, "wmv"},
      {22, "mov"},  {23, "wbxml"}, {24, "gif"}, {25, "caf"}, {26, "ogg"}, {27, "wma"}, {28, "m4a"},
      {-1, "rp"},   {-3, "png"}, {-4, "jpg"},  {-6, "utf"},  {-7, "txt"}, {-12, "rp"},
  };
  for (const auto& [type, extension] : kTable) {
    if (type == fileType) return extension;
  }
  return "rp";
}

void writePackFiles(const std::filesystem::path& folder, const PackFiles& files) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  require(!error, folder.string(), "cannot create the folder: " + error.message());
  for (const auto& [name, bytes] : files) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    require(out.good(), (folder / name).string(), "cannot be written");
  }
}

void requirePackNumber(int pack) { requireRange(pack, 1, 0x1FFFFF, "pack number"); }

}  // namespace content
