// Writes a deterministic KRL-like program of a given size to standard output,
// for the whole-program benchmark: folds, declarations, motion blocks with
// conditions, loops, switches, comments and string literals, in mixed case
// and spacing, CR LF and LF line ends.
// Usage: generate_krl <megabytes> [long-line-kilobytes]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class Random {
 public:
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint32_t state_ = 2463534242u;
};

const char* const kStatements[] = {
    "PTP P%u Vel=100 %% PDAT%u Tool[1] Base[0]",
    "lin p%u c_dis",
    "LIN_REL {x 10,y -5,z 0} C_DIS",
    "circ aux%u,p%u",
    "$OUT[%u]=TRUE",
    "$out[%u] = false ; release gripper",
    "wait for $in[%u]==true",
    "WAIT SEC 0.%u",
    "count=count+%u",
    "speed=speed*2/%u",
    "msg=\"Part %u done; next\"",
    "decl int counter%u,other%u",
    "DECL E6POS xP%u={X 1.0,Y 2.0,Z 3.0,A 0.0,B 90.0,C 0.0,S 6,T 27,E1 0.0}",
    "BAS(#VEL_PTP,%u)",
    ";FOLD PTP P%u Vel=100 %% PDAT%u;%%{PE}%%R 8.3.31,%%MKUKATPBASIS,%%CMOVE,%%VPTP,%%P 1:PTP",
    ";ENDFOLD",
    "  ; comment about step %u",
    "a<>%u",
    "x>=%u",
};

void Append(std::string& out, const char* format, uint32_t a, uint32_t b) {
  char line[256];
  std::snprintf(line, sizeof line, format, a, b);
  out += line;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t target = (argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 64) << 20;
  const size_t long_line = argc > 2 ? std::strtoull(argv[2], nullptr, 10) << 10 : 0;
  Random random;
  std::string out;
  out.reserve(target + 4096);
  if (long_line > 0) {
    // One line of operators and words.
    out += "x=";
    while (out.size() < long_line) {
      Append(out, "a%u+b*%u>=c;", random.Below(100), random.Below(100));
      out.back() = random.Below(4) == 0 ? ',' : ' ';
    }
    out += "\r\n";
  }
  uint32_t procedure = 0;
  while (out.size() < target) {
    Append(out, "DEF proc%u( )\r\n", procedure++, 0);
    out += "  INT i\r\n";
    const uint32_t blocks = 5 + random.Below(20);
    for (uint32_t b = 0; b < blocks; ++b) {
      const bool loop = random.Below(3) == 0;
      const bool condition = random.Below(3) == 0;
      const bool switcher = random.Below(5) == 0;
      if (loop) out += "for i=1 to 10\n";
      if (condition) Append(out, "IF (n>%u)AND(m<=%u) THEN\r\n", random.Below(9), random.Below(9));
      if (switcher) out += "SWITCH i\r\ncase 1\r\n";
      const uint32_t statements = 3 + random.Below(12);
      for (uint32_t s = 0; s < statements; ++s) {
        const char* format = kStatements[random.Below(std::size(kStatements))];
        out.append(random.Below(4), '\t');
        Append(out, format, random.Below(1000), random.Below(1000));
        out += random.Below(2) ? "\r\n" : "\n";
      }
      if (switcher) out += "DEFAULT\r\nhalt\r\nENDSWITCH\r\n";
      if (condition) out += "else\r\n  n=n-1\r\nENDIF\r\n";
      if (loop) out += "endfor\n";
    }
    out += "END\r\n\r\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
