// qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side] [--size WxH] [--wire]:
// a picture of a scene file or an object file, drawn by the renderer (render/).
#pragma once

int RunRenderCommand(int argc, char** argv);
