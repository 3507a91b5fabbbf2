// The test module: its descriptor names koru.mod.Main (jar --main-class).
module koru.mod {}
