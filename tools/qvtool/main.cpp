// qvtool: encodes and decodes scenario scripts and writes the sample game.
#include <iostream>
#include <string_view>
#include <vector>

#include "qvtool/Cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  return qv::tool::RunQvtool(arguments, std::cout, std::cerr);
}
