// A peer reader: Debian's assimp (libassimp-dev) reading the file with ReadFile and no
// post-processing, as a program that wants only the geometry would call it. `assimp info`
// adds its own post-processing steps and would not be a fair peer. For bench/whole_jobs.sh.
//
//   assimp_read FILE     prints the mesh and face counts
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: assimp_read FILE\n", stderr);
        return 2;
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(argv[1], 0);
    if (scene == nullptr) {
        std::fprintf(stderr, "assimp_read: %s\n", importer.GetErrorString());
        return 1;
    }
    unsigned long faces = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i)
        faces += scene->mMeshes[i]->mNumFaces;
    std::printf("Meshes: %u\nFaces: %lu\n", scene->mNumMeshes, faces);
    return 0;
}
